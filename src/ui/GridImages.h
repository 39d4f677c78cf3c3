#pragma once

#include <QImage>

// The grid toolbar's button faces, 16 x 16, drawn on first use and kept in the
// named-image registry under their own names ("ImgGridAdd", ...).
const QImage& ImgGridAdd();
const QImage& ImgGridMod();
const QImage& ImgGridDel();
const QImage& ImgGridFind();
const QImage& ImgGridFindOpts();
const QImage& ImgGridMoveUp();
const QImage& ImgGridMoveDn();
const QImage& ImgGridFirstRec();
const QImage& ImgGridPrevRec();
const QImage& ImgGridNextRec();
const QImage& ImgGridLastRec();
