#include "formats/StartupFormats.h"

#include "base/Errors.h"
#include "formats/GIFGraphic.h"
#include "formats/JpegPicture.h"
#include "formats/PCXGraphic.h"
#include "formats/PNGGraphic.h"
#include "formats/TIFFGraphic.h"
#include "formats/UnassignablePicture.h"

#include <string>

namespace quillmark {

namespace {

PictureClass DecoderClass(const char* name, PictureClass::Reader reader)
{
    return PictureClass{name, {kRasterGraphicName, kBitmapPictureName}, std::move(reader)};
}

} // namespace

const PictureClass& TIFFGraphicClass()
{
    static const PictureClass c = DecoderClass("TTIFFGraphic", ReaderFor<TTIFFGraphic>());
    return c;
}

const PictureClass& PCXGraphicClass()
{
    static const PictureClass c = DecoderClass("TPCXGraphic", ReaderFor<TPCXGraphic>());
    return c;
}

const PictureClass& GIFGraphicClass()
{
    static const PictureClass c = DecoderClass("TGIFGraphic", ReaderFor<TGIFGraphic>());
    return c;
}

const PictureClass& PNGGraphicClass()
{
    static const PictureClass c = DecoderClass("TPNGGraphic", ReaderFor<TPNGGraphic>());
    return c;
}

PictureRegistry::PictureRegistry(const PictureClass& toolkitBitmapClass)
    : m_bitmapClass(toolkitBitmapClass), m_fileFormats(m_toolkit)
{
    const PictureClass& bitmap = m_bitmapClass;
    const PictureClass& icon = IconPictureClass();
    const PictureClass& metafile = MetafilePictureClass();
    const PictureClass& jpeg = JpegPictureClass();

    // The toolkit's own entries come first, then those of its JPEG kind.
    m_toolkit.Add("wmf", "Metafiles", metafile);
    m_toolkit.Add("emf", "Enhanced Metafiles", metafile);
    m_toolkit.Add("ico", "Icons", icon);
    m_toolkit.Add("bmp", "Bitmaps", bitmap);
    m_toolkit.Add("jpeg", "JPEG Image File", jpeg);
    m_toolkit.Add("jpg", "JPEG Image File", jpeg);

    TFileFormatList& list = m_fileFormats;
    list.Register("bmp", "Windows bitmaps", "", bitmap);
    list.Register("ico", "Windows icons", "", icon);
    list.Register("wmf", "Windows metafiles", "", metafile);
    list.Register("emf", "Windows metafiles", "Windows enhanced meta files", metafile);
    list.Register("jfif", "JPG images", "JFIF images", jpeg);
    list.Register("jpg", "", "JPG images", jpeg);
    list.Register("jpe", "", "JPE images", jpeg);
    list.Register("jpeg", "", "JPEG images", jpeg);
    list.Register("rle", "Windows bitmaps", "Run length encoded Windows bitmaps", bitmap);
    list.Register("dib", "", "Device independant Windows bitmaps", bitmap);
    list.Register("tiff", "Tagged image file format images", "Macintosh TIFF images", TIFFGraphicClass());
    list.Register("tif", "", "PC TIF images", TIFFGraphicClass());
    list.Register("fax", "", "GFI fax images", TIFFGraphicClass());
    list.Register("pcx", "ZSoft Paintbrush images", "", PCXGraphicClass());
    list.Register("pcc", "", "", PCXGraphicClass());
    list.Register("scr", "", "Word 5.x screen capture images", PCXGraphicClass());
    list.Register("gif", "CompuServe images", "", GIFGraphicClass());
    list.Register("png", "Portable network graphic images", "", PNGGraphicClass());
}

void PictureRegistry::Shutdown()
{
    m_fileFormats.Unregister(std::nullopt, TIFFGraphicClass());
    m_fileFormats.Unregister(std::nullopt, PCXGraphicClass());
    m_fileFormats.Unregister(std::nullopt, GIFGraphicClass());
    // The bitmap class stays registered: "bmp" still points at it.
    m_fileFormats.Unregister("rle", m_bitmapClass);
    m_fileFormats.Unregister("dib", m_bitmapClass);
    m_fileFormats.Unregister(std::nullopt, PNGGraphicClass());
}

} // namespace quillmark
