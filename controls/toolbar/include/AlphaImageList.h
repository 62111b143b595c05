// Normal, hot and disabled image lists of one image size, built from one bitmap strip;
// only the normal strip exists as a resource, the other two looks are computed from it
// when it is loaded. Bitmap resource N is the image ":/bitmap/N.bmp" of the program's
// resources.
#pragma once

#include "ImageLooks.h"

#include <QIcon>
#include <QPixmap>

class QImage;

class CAlphaImageList {
public:
    CAlphaImageList() = default;
    virtual ~CAlphaImageList() = default;
    CAlphaImageList(const CAlphaImageList&) = delete;
    CAlphaImageList& operator=(const CAlphaImageList&) = delete;

    // Starts over with three empty lists for images of cx x cy pixels, room for nInitial.
    // Qt draws every pixmap with its alpha channel, as version 6 of the Windows common
    // controls does, so the depth chosen here is always 32: 32-bit strips keep their alpha
    // and 24-bit strips still go the masked way.
    bool Create(int cx, int cy, int nInitial);

    // Appends the images of bitmap resource nIDResource to all three lists. Refused before
    // a successful Create and when there is no such bitmap; a refusal adds nothing.
    bool LoadBitmap(int nIDResource);
    // The same for a bitmap at hand: with an alpha channel it is a 32-bit strip, without
    // one a 24-bit strip.
    bool LoadBitmap(const QImage& bitmap);

    int GetImageCount() const { return m_looks.GetImageCount(); }
    int GetColorDepth() const { return m_looks.GetColorDepth(); }
    QPixmap GetPixmap(CImageLooks::Look look, int index) const;
    // Image index as an icon: the normal look in mode Normal, the hot look in mode Active
    // (the button under the mouse) and the disabled look in mode Disabled. A null icon for
    // an index past the images.
    QIcon GetIcon(int index) const;

private:
    CImageLooks m_looks;
};
