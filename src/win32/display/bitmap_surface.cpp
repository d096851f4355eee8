// bitmap_surface.cpp -- bitmap loading through a GDI DIB section into off-screen surfaces.
#include "win32/display/bitmap_surface.h"

#include <cstring>
#include <string>

#include "core/archive/resource_archive.h"
#include "core/display/bitmap_file.h"
#include "core/log/debug_log.h"
#include "win32/display/display.h"

CreateDibSectionFunction CreateDibSection = CreateDIBSection;

namespace {

// The header as read, followed by the one colour entry GDI expects and never consults.
struct StoredBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD spare;
};

// A stored bitmap turned into a GDI DIB section; the memory DC and section die with it.
class DibImage {
public:
    explicit DibImage(const StoredBitmap& bitmap)
    {
        StoredBitmapInfo info = {};
        static_assert(sizeof info.header == BitmapInfoHeaderSize, "GDI takes the stored header as it is");
        std::memcpy(&info.header, bitmap.infoHeader, sizeof info.header);
        memoryDc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        section = CreateDibSection(memoryDc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        if (section != nullptr && bits != nullptr) {
            std::memcpy(bits, bitmap.pixels.data(), bitmap.pixels.size());
        } else if (section != nullptr) {
            DeleteObject(section);
            section = nullptr;
        }
    }
    ~DibImage()
    {
        if (section != nullptr) {
            DeleteObject(section);
        }
        if (memoryDc != nullptr) {
            DeleteDC(memoryDc);
        }
    }
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    HBITMAP Section() const { return section; }

private:
    HDC memoryDc = nullptr;
    HBITMAP section = nullptr;
};

}  // namespace

IDirectDrawSurface7* LoadBitmapSurface(const char* name)
{
    WriteDebugLog(name);
    StoredBitmap bitmap;
    if (!ReadStoredBitmap(DataArchive, name, bitmap)) {
        return nullptr;
    }
    DibImage image(bitmap);
    if (image.Section() == nullptr) {
        WriteDebugLog("Error creating DIB section");
        return nullptr;
    }
    IDirectDrawSurface7* surface = CreateOffscreenSurface(DirectDrawObject, bitmap.width, bitmap.height);
    if (surface == nullptr) {
        WriteDebugLog("Error creating SURFACE");
        return nullptr;
    }
    if (BlitBitmapToSurface(surface, image.Section(), bitmap.width, bitmap.height) < 0) {
        WriteDebugLog("Error copying bitmap to surface");
    }
    return surface;
}

ResultCode CopyBitmap(IDirectDrawSurface7* surface, const char* name)
{
    if (surface == nullptr) {
        WriteDebugLog("Surface is NULL during CopyBitmap");
        return ResultFail;
    }
    WriteDebugLog(("COPYBITMAP:  " + std::string(name)).c_str());
    StoredBitmap bitmap;
    if (!ReadStoredBitmap(DataArchive, name, bitmap)) {
        return ResultFail;
    }
    DibImage image(bitmap);
    if (image.Section() == nullptr) {
        WriteDebugLog("Error creating DIB section");
        return ResultFail;
    }
    if (BlitBitmapToSurface(surface, image.Section(), bitmap.width, bitmap.height) < 0) {
        WriteDebugLog("Error copying bitmap to surface (RESTORE)");
    }
    return ResultOk;
}

IDirectDrawSurface7* CreateOffscreenSurface(IDirectDraw7* directDraw, int32_t width, int32_t height)
{
    if (directDraw == nullptr) {
        return nullptr;
    }
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* surface = nullptr;
    if (directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
        return nullptr;
    }
    return surface;
}

ResultCode BlitBitmapToSurface(IDirectDrawSurface7* surface, HBITMAP bitmap, int32_t width, int32_t height)
{
    HDC memoryDc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    HDC surfaceDc = nullptr;
    const HRESULT result = surface->GetDC(&surfaceDc);
    if (result == DD_OK) {
        BitBlt(surfaceDc, 0, 0, width, height, memoryDc, 0, 0, SRCCOPY);
        surface->ReleaseDC(surfaceDc);
    }
    SelectObject(memoryDc, previous);
    DeleteDC(memoryDc);
    return result;
}
