#pragma once

#include <QIcon>

class QPainter;

// The icons of the channel lists (TChannelImage): a red cross for an unused
// entry, a computer with a telephone for the GSM data call, a mobile phone
// with radio waves for GPRS and the voice call, a green speech bubble for
// SMS. Drawn as small vector pictures, sharp at any screen scale.

// The picture for `image` on a 16 x 16 square of `painter`'s coordinates;
// nothing for an image number the lists do not use.
void PaintChannelIcon(QPainter& painter, int image);
// The icon for `image`, at 16 x 16 and at twice that for dense screens.
QIcon ChannelIcon(int image);
