#include "framework/com_picture.h"

BOOL CComPicture::Load(HGLOBAL block, DWORD size, bool freeBlock) {
    Reset();
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, freeBlock ? TRUE : FALSE, &stream)) || !stream) {
        if (freeBlock) GlobalFree(block);
        return FALSE;
    }
    void* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                      &picture);
    stream->Release();
    if (FAILED(hr) || !picture) return FALSE;
    m_picture = static_cast<IPicture*>(picture);
    return TRUE;
}

SIZE CComPicture::HimetricSize() const {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (m_picture) {
        m_picture->get_Width(&width);
        m_picture->get_Height(&height);
    }
    return {width, height};
}

BOOL CComPicture::Render(HDC dc, int x, int y, int cx, int cy) const {
    if (!m_picture) return FALSE;
    // The source rectangle runs upwards in HIMETRIC: from the bottom-left
    // corner with a negative height gives the picture upright.
    const SIZE hm = HimetricSize();
    return SUCCEEDED(m_picture->Render(dc, x, y, cx, cy, 0, hm.cy, hm.cx, -hm.cy, nullptr));
}
