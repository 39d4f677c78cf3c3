#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

// Shows an image as a button's face, at the image's own size.
inline void SetFace(QPushButton& button, const QImage& image)
{
    button.setIcon(QIcon(QPixmap::fromImage(image)));
    button.setIconSize(image.size());
}
