#include "win32/pictures.h"

#include "form/inventory.h"
#include "report/file_writer.h"
#include "win32/text.h"

// The imaging component's class and format ids are defined here: mingw's import libraries lack some.
#include <initguid.h>
#include <objidl.h>
#include <string>
#include <vector>
#include <wincodec.h>

namespace win32 {

namespace {

// The imaging component, made when first needed and kept for the whole run (COM may be gone when the
// program's statics are); asked for again after a failure.
IWICImagingFactory *imaging()
{
    static IWICImagingFactory *factory = nullptr;
    if (!factory
        && FAILED(CoCreateInstance(CLSID_WICImagingFactory,
            nullptr,
            CLSCTX_INPROC_SERVER,
            IID_IWICImagingFactory,
            reinterpret_cast<void **>(&factory))))
        factory = nullptr;
    return factory;
}

// The bytes of an RCDATA resource of app.rc, named after its file ("hand@2x.png" is HAND_2X_PNG); empty
// when there is none.
std::string_view resource(std::string_view file)
{
    std::wstring name;
    for (const char c : file)
        name += (c >= 'a' && c <= 'z')           ? static_cast<wchar_t>(c - 'a' + 'A')
            : (c == '-' || c == '@' || c == '.') ? L'_'
                                                 : static_cast<wchar_t>(c);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const char *>(bytes), SizeofResource(module, found)};
}

// The first frame of a picture file's bytes; false when they are no picture the component reads.
bool decode(std::string_view bytes, ComPtr<IWICStream> &stream, ComPtr<IWICBitmapFrameDecode> &frame)
{
    IWICImagingFactory *factory = imaging();
    ComPtr<IWICBitmapDecoder> decoder;
    return factory && !bytes.empty() && SUCCEEDED(factory->CreateStream(stream.put()))
        && SUCCEEDED(stream->InitializeFromMemory(
            reinterpret_cast<BYTE *>(const_cast<char *>(bytes.data())), static_cast<DWORD>(bytes.size())))
        && SUCCEEDED(factory->CreateDecoderFromStream(
            stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))
        && SUCCEEDED(decoder->GetFrame(0, frame.put()));
}

// The pixels of a picture file's bytes as 32-bit BGRA rows, width × height (scaled when the picture has
// another size), premultiplied or straight; empty when they cannot be had.
std::vector<BYTE> pixels(std::string_view bytes, int width, int height, bool premultiplied)
{
    IWICImagingFactory *factory = imaging();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (width <= 0 || height <= 0 || !decode(bytes, stream, frame))
        return {};
    UINT ownWidth = 0;
    UINT ownHeight = 0;
    if (FAILED(frame->GetSize(&ownWidth, &ownHeight)))
        return {};
    IWICBitmapSource *source = frame.get();
    ComPtr<IWICBitmapScaler> scaler;
    if (ownWidth != static_cast<UINT>(width) || ownHeight != static_cast<UINT>(height)) {
        if (FAILED(factory->CreateBitmapScaler(scaler.put()))
            || FAILED(scaler->Initialize(
                source, static_cast<UINT>(width), static_cast<UINT>(height), WICBitmapInterpolationModeFant)))
            return {};
        source = scaler.get();
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put()))
        || FAILED(converter->Initialize(source,
            premultiplied ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGRA,
            WICBitmapDitherTypeNone,
            nullptr,
            0.0,
            WICBitmapPaletteTypeCustom)))
        return {};
    const UINT stride = static_cast<UINT>(width) * 4;
    std::vector<BYTE> rows(stride * static_cast<UINT>(height));
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data())))
        return {};
    return rows;
}

HBITMAP bitmapOf(const std::vector<BYTE> &rows, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the rows are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
        CopyMemory(bits, rows.data(), rows.size());
    return bitmap;
}

// The picture's own drawing at 96 dots per inch, its double-size one beyond.
std::string_view sourceOf(std::string_view name, std::string_view ownSuffix, int width, int ownWidth)
{
    const std::string own = std::string(name) + std::string(ownSuffix);
    if (width == ownWidth)
        return resource(own);
    const std::string_view sharp = resource(std::string(name) + "@2x.png");
    return sharp.empty() ? resource(own) : sharp;
}

SIZE ownSizeOf(std::string_view bytes)
{
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (!decode(bytes, stream, frame) || FAILED(frame->GetSize(&width, &height)))
        return {};
    return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

} // namespace

HBITMAP pictureBitmap(std::string_view name, UINT dpi, COLORREF ground)
{
    const SIZE own = ownSizeOf(resource(std::string(name) + ".gif"));
    const int width = MulDiv(own.cx, static_cast<int>(dpi), 96);
    const int height = MulDiv(own.cy, static_cast<int>(dpi), 96);
    std::vector<BYTE> rows = pixels(sourceOf(name, ".gif", width, own.cx), width, height, true);
    if (rows.empty())
        return nullptr;
    // Transparent parts show the ground: premultiplied colour plus the ground behind what is left.
    for (std::size_t i = 0; i + 3 < rows.size(); i += 4) {
        const int uncovered = 255 - rows[i + 3];
        rows[i] = static_cast<BYTE>(rows[i] + GetBValue(ground) * uncovered / 255);
        rows[i + 1] = static_cast<BYTE>(rows[i + 1] + GetGValue(ground) * uncovered / 255);
        rows[i + 2] = static_cast<BYTE>(rows[i + 2] + GetRValue(ground) * uncovered / 255);
        rows[i + 3] = 255;
    }
    return bitmapOf(rows, width, height);
}

Cursor handCursor(UINT dpi)
{
    HCURSOR systemHand = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    const int size = MulDiv(32, static_cast<int>(dpi), 96);
    const std::vector<BYTE> rows = pixels(sourceOf("hand", ".png", size, 32), size, size, false);
    if (rows.empty())
        return Cursor::shared(systemHand);
    ICONINFO icon{};
    icon.fIcon = FALSE;
    icon.xHotspot = static_cast<DWORD>(MulDiv(13, static_cast<int>(dpi), 96));
    icon.yHotspot = static_cast<DWORD>(MulDiv(9, static_cast<int>(dpi), 96));
    const GdiObject<HBITMAP> colour(bitmapOf(rows, size, size));
    const GdiObject<HBITMAP> mask(CreateBitmap(size, size, 1, 1, nullptr));
    icon.hbmColor = colour.get();
    icon.hbmMask = mask.get();
    HCURSOR cursor = colour && mask ? CreateIconIndirect(&icon) : nullptr; // the cursor copies both
    return cursor ? Cursor::made(cursor) : Cursor::shared(systemHand);
}

void showPicture(Control &control, UINT dpi)
{
    const std::string_view name = form::pictureOf(control.row->name);
    if (name.empty())
        return;
    GdiObject<HBITMAP> picture(pictureBitmap(name, dpi, GetSysColor(COLOR_BTNFACE)));
    if (!picture)
        return;
    if (control.row->kind == form::Kind::Image) {
        // A static keeps a copy of a bitmap with an alpha channel, and returns that copy when it is
        // replaced: the copy is ours to delete then, and so is our bitmap at once.
        auto *replaced = reinterpret_cast<HBITMAP>(
            SendMessageW(control.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get())));
        if (replaced && replaced != control.picture.get() && replaced != picture.get())
            DeleteObject(replaced);
        if (reinterpret_cast<HBITMAP>(SendMessageW(control.hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0))
            != picture.get())
            picture.reset();
    } else {
        SendMessageW(control.hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    }
    control.picture = std::move(picture); // the earlier picture goes only now, when nothing shows it
}

namespace {

// A decoded frame written as PNG of 96 dots per inch; empty when the component cannot.
std::string encodePng(IWICBitmapSource *frame)
{
    IWICImagingFactory *factory = imaging();
    ComPtr<IStream> out;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> page;
    ComPtr<IPropertyBag2> options;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, out.put()))
        || FAILED(factory->CreateFormatConverter(converter.put()))
        || FAILED(converter->Initialize(
            frame, format, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom))
        || FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))
        || FAILED(encoder->Initialize(out.get(), WICBitmapEncoderNoCache))
        || FAILED(encoder->CreateNewFrame(page.put(), options.put()))
        || FAILED(page->Initialize(options.get())) || FAILED(page->SetSize(width, height))
        || FAILED(page->SetResolution(96.0, 96.0)) || FAILED(page->SetPixelFormat(&format))
        || FAILED(page->WriteSource(converter.get(), nullptr)) || FAILED(page->Commit())
        || FAILED(encoder->Commit()))
        return {};
    STATSTG status{};
    if (FAILED(out->Stat(&status, STATFLAG_NONAME)))
        return {};
    std::string png(static_cast<std::size_t>(status.cbSize.QuadPart), '\0');
    LARGE_INTEGER start{};
    ULONG read = 0;
    if (FAILED(out->Seek(start, STREAM_SEEK_SET, nullptr))
        || FAILED(out->Read(png.data(), static_cast<ULONG>(png.size()), &read)) || read != png.size())
        return {};
    return png;
}

} // namespace

report::PngPicture readReportPicture(const std::filesystem::path &file)
{
    using enum report::PngPicture::Problem;
    std::string data;
    if (const report::FileStatus read = report::readWholeFile(file, data); !read)
        return {file, Unreadable, read.error, {}};
    if (data == resource("tmas.gif"))
        return {file, None, 0, std::string(resource("tmas.png"))};

    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!decode(data, stream, frame))
        return {file, NotAPicture, 0, {}};
    std::string png = encodePng(frame.get());
    if (png.empty())
        return {file, NotConverted, 0, {}};
    return {file, None, 0, std::move(png)};
}

} // namespace win32
