#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

// The registry of named images. An image is registered with the routine that
// draws it and is drawn once, on first use (drawing needs the GUI running).
void RegisterImage(const std::string& name, std::function<QImage()> draw);
// The image registered under name; a null image when there is none.
const QImage& GetImage(const std::string& name);
// Every registered name, in the order of registration.
std::vector<std::string> ImageNames();

// The player's images, registered under these names at program start.
const QImage& ImgPlayForwardSmall();
const QImage& ImgPlayForward();
const QImage& ImgPlayForwardFlash();
const QImage& ImgPause();
const QImage& ImgPauseFlash();
const QImage& ImgStop();
const QImage& ImgPlayBackward();
const QImage& ImgPrevKey();
const QImage& ImgNextKey();
const QImage& ImgPrev();
const QImage& ImgNext();
const QImage& ImgIcon();
const QImage& ImgLargeIcon();
