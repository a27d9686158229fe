// Our decoders against the reference libraries on the same files, in memory,
// in the same run: PNG against libpng and libspng, TIFF (LZW + predictor 2, deflate,
// PackBits, uncompressed) against libtiff's strip reading, GIF against giflib,
// and the JPEG path against libjpeg-turbo alone. The pictures are made here,
// 6000 x 4000: a chart (white paper, a grid, anti-aliased curves, blocks of
// "text") and a photo-like noisy picture. Each case prints the median time of
// several runs of each side and their ratio, ours over the library's.
//   quillmark_decode_bench [FILTER]
//   quillmark_decode_bench --process PATH/TO/quillmark [FILTER]
//   quillmark_decode_bench --write FOLDER
// --one-core before the rest keeps our decoders on one core.
// The second form times the whole `quillmark decode FILE OUT.ppm` process
// instead of our decoder alone, with the files and the output in memory
// (/dev/shm), against the same in-memory decode by the library. The third
// writes the pictures into FOLDER (for a profile) and times nothing.
#include "base/Cores.h"
#include "formats/GIFGraphic.h"
#include "formats/JpegPicture.h"
#include "formats/PNGGraphic.h"
#include "formats/TIFFGraphic.h"
#include "formats/JpegTestFiles.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <spng.h>
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kRuns = 5;

// RGB rows, top down, no padding.
struct Rgb {
    int Width = kWidth;
    int Height = kHeight;
    Bytes Pixels = Bytes(std::size_t{kWidth} * kHeight * 3, 255);
    std::uint8_t* Row(int y) { return Pixels.data() + std::size_t{3} * static_cast<std::size_t>(Width) * static_cast<std::size_t>(y); }
};

void Blend(Rgb& p, int x, int y, const std::uint8_t colour[3], double cover)
{
    if (x < 0 || y < 0 || x >= p.Width || y >= p.Height || cover <= 0)
        return;
    std::uint8_t* px = p.Row(y) + 3 * x;
    for (int c = 0; c < 3; ++c)
        px[c] = static_cast<std::uint8_t>(std::lround(px[c] + (colour[c] - px[c]) * std::min(cover, 1.0)));
}

Rgb Chart()
{
    Rgb p;
    const std::uint8_t grid[3] = {200, 200, 230};
    for (int y = 0; y < p.Height; y += 100)
        for (int x = 0; x < p.Width; ++x)
            Blend(p, x, y, grid, 1);
    for (int x = 0; x < p.Width; x += 100)
        for (int y = 0; y < p.Height; ++y)
            Blend(p, x, y, grid, 1);
    const std::uint8_t curves[3][3] = {{200, 0, 0}, {0, 120, 0}, {0, 0, 180}};
    for (int k = 0; k < 3; ++k) {
        for (int x = 0; x < p.Width; ++x) {
            const double yc = 2000 + 1200 * std::sin(x / (400.0 + 150 * k) + k) + 300 * k;
            for (int dy = -4; dy <= 4; ++dy) {
                const int y = static_cast<int>(std::floor(yc)) + dy;
                Blend(p, x, y, curves[k], 2.5 - std::fabs(y + 0.5 - yc));
            }
        }
    }
    std::mt19937 random(7);
    const std::uint8_t ink[3] = {20, 20, 20};
    for (int label = 0; label < 400; ++label) {
        const int x0 = static_cast<int>(random() % (kWidth - 200));
        const int y0 = static_cast<int>(random() % (kHeight - 30));
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 180; ++x)
                if ((x / 3 + y / 4 + label) % 5 == 0 && (x % 12) < 9)
                    Blend(p, x0 + x, y0 + y, ink, 1);
    }
    return p;
}

Rgb Photo()
{
    Rgb p;
    std::mt19937 random(11);
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* row = p.Row(y);
        for (int x = 0; x < p.Width; ++x) {
            const int noise = static_cast<int>(random() % 48);
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(100 + 80 * std::sin(x / 300.0) + noise, 0.0, 255.0));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(120 + 70 * std::cos(y / 250.0) + noise, 0.0, 255.0));
            row[3 * x + 2] = static_cast<std::uint8_t>((x / 20 + y / 30 + noise) & 255);
        }
    }
    return p;
}

// ---- Writing the files with the reference libraries --------------------

Bytes ReadBack(const std::string& path)
{
    Bytes out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        out.resize(static_cast<std::size_t>(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        if (std::fread(out.data(), 1, out.size(), f) != out.size())
            out.clear();
        std::fclose(f);
    }
    std::remove(path.c_str());
    return out;
}

std::string ScratchPath(const char* name)
{
    return "/tmp/quillmark-decode-bench-" + std::to_string(getpid()) + "-" + name;
}

Bytes WritePng(Rgb& p)
{
    const std::string path = ScratchPath("p.png");
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_filter(png, 0, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.Width), static_cast<png_uint_32>(p.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < p.Height; ++y)
        png_write_row(png, p.Row(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return ReadBack(path);
}

Bytes WriteTiff(Rgb& p, unsigned compression, bool predictor)
{
    const std::string path = ScratchPath("t.tif");
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(p.Width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(p.Height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
    if (predictor)
        TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 16);
    for (int y = 0; y < p.Height; ++y)
        TIFFWriteScanline(t, p.Row(y), static_cast<std::uint32_t>(y), 0);
    TIFFClose(t);
    return ReadBack(path);
}

// The chart's colours are few; anything else maps to the nearest grey.
Bytes WriteGif(Rgb& p)
{
    std::vector<GifColorType> colours;
    std::vector<std::uint32_t> keys;
    std::vector<GifPixelType> indices(std::size_t{static_cast<std::size_t>(p.Width)} * static_cast<std::size_t>(p.Height));
    for (int y = 0; y < p.Height; ++y) {
        const std::uint8_t* row = p.Row(y);
        for (int x = 0; x < p.Width; ++x) {
            const std::uint32_t key = std::uint32_t{row[3 * x]} << 16 | std::uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
            auto at = std::find(keys.begin(), keys.end(), key);
            std::size_t index = static_cast<std::size_t>(at - keys.begin());
            if (at == keys.end()) {
                if (keys.size() < 256) {
                    keys.push_back(key);
                    colours.push_back(GifColorType{row[3 * x], row[3 * x + 1], row[3 * x + 2]});
                } else {
                    index = 0;
                }
            }
            indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.Width) + static_cast<std::size_t>(x)] =
                static_cast<GifPixelType>(index);
        }
    }
    colours.resize(256, GifColorType{0, 0, 0});
    const std::string path = ScratchPath("g.gif");
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifPutScreenDesc(gif, p.Width, p.Height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, p.Width, p.Height, false, nullptr);
    for (int y = 0; y < p.Height; ++y)
        EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.Width), p.Width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ReadBack(path);
}

Bytes WriteJpeg(Rgb& p)
{
    return quillmark::testing::EncodeJpeg({.Width = p.Width, .Height = p.Height, .Quality = 90, .Sample = [&p](int x, int y, int c) {
        return p.Row(y)[3 * x + c];
    }});
}

// ---- The reference decodes, from memory into RGB rows --------------------

// Each decode makes a new picture, as ours does: a buffer kept from the run
// before would spare the library the first touch of every page. The picture
// is allocated as ours are (zeroed pages from the system, 2 MB pages where the
// system grants them), so that both sides pay the same for their memory.
struct Picture {
    PixelMemory Memory;
    std::uint8_t* data() const { return Memory.Data(); }
    std::size_t size() const { return Memory.Size(); }
    std::uint8_t& operator[](std::size_t i) { return Memory.Data()[i]; }
};

Picture FreshPicture(std::size_t bytes)
{
    return Picture{PixelMemory(bytes)};
}

void LibpngDecode(const Bytes& file, Picture& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = PNG_FORMAT_RGB;
    out = FreshPicture(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, out.data(), 0, nullptr);
}

void LibspngDecode(const Bytes& file, Picture& out)
{
    spng_ctx* context = spng_ctx_new(0);
    spng_set_png_buffer(context, file.data(), file.size());
    std::size_t size = 0;
    spng_decoded_image_size(context, SPNG_FMT_RGB8, &size);
    out = FreshPicture(size);
    spng_decode_image(context, out.data(), size, SPNG_FMT_RGB8, 0);
    spng_ctx_free(context);
}

struct MemoryFile {
    const Bytes* Data;
    toff_t At = 0;
};

tsize_t TiffRead(thandle_t h, tdata_t buffer, tsize_t size)
{
    auto& m = *static_cast<MemoryFile*>(h);
    const auto n = static_cast<toff_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(size), m.Data->size() - m.At));
    std::memcpy(buffer, m.Data->data() + m.At, n);
    m.At += n;
    return static_cast<tsize_t>(n);
}
tsize_t TiffWrite(thandle_t, tdata_t, tsize_t) { return -1; }
toff_t TiffSeek(thandle_t h, toff_t offset, int whence)
{
    auto& m = *static_cast<MemoryFile*>(h);
    m.At = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m.At + offset : m.Data->size() + offset;
    return m.At;
}
int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t h) { return static_cast<MemoryFile*>(h)->Data->size(); }
int TiffMap(thandle_t h, tdata_t* base, toff_t* size)
{
    auto& m = *static_cast<MemoryFile*>(h);
    *base = const_cast<std::uint8_t*>(m.Data->data());
    *size = m.Data->size();
    return 1;
}
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

void LibtiffDecode(const Bytes& file, Picture& out)
{
    MemoryFile m{&file};
    TIFF* t = TIFFClientOpen("memory", "rm", &m, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize, TiffMap, TiffUnmap);
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height);
    out = FreshPicture(std::size_t{width} * height * 3);
    const tstrip_t strips = TIFFNumberOfStrips(t);
    std::size_t at = 0;
    for (tstrip_t s = 0; s < strips; ++s) {
        const tmsize_t n = TIFFReadEncodedStrip(t, s, out.data() + at, -1);
        if (n < 0) {
            std::fprintf(stderr, "libtiff could not read strip %u\n", s);
            break;
        }
        at += static_cast<std::size_t>(n);
    }
    TIFFClose(t);
}

int GifRead(GifFileType* gif, GifByteType* buffer, int size)
{
    auto& m = *static_cast<MemoryFile*>(gif->UserData);
    const auto n = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(size), m.Data->size() - m.At));
    std::memcpy(buffer, m.Data->data() + m.At, static_cast<std::size_t>(n));
    m.At += static_cast<toff_t>(n);
    return n;
}

void GiflibDecode(const Bytes& file, Picture& out)
{
    MemoryFile m{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&m, GifRead, &error);
    DGifSlurp(gif);
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const std::size_t pixels = static_cast<std::size_t>(image.ImageDesc.Width) * static_cast<std::size_t>(image.ImageDesc.Height);
    out = FreshPicture(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
        const GifColorType& c = map->Colors[image.RasterBits[i]];
        out[3 * i] = c.Red;
        out[3 * i + 1] = c.Green;
        out[3 * i + 2] = c.Blue;
    }
    DGifCloseFile(gif, &error);
}

void LibjpegDecode(const Bytes& file, Picture& out)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const std::size_t stride = std::size_t{info.output_width} * 3;
    out = FreshPicture(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

// ---- Timing ------------------------------------------------------------------

double MedianSeconds(const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Our picture as RGB rows, to check both sides decoded the same picture.
Bytes RgbOf(const Bitmap& b)
{
    Bytes rgb;
    rgb.reserve(std::size_t{3} * static_cast<std::size_t>(b.Width()) * static_cast<std::size_t>(b.Height()));
    for (int y = 0; y < b.Height(); ++y) {
        const auto row = b.Row(y);
        for (int x = 0; x < b.Width(); ++x) {
            if (b.Format() == PixelFormat::Bits8) {
                const Color c = b.Palette[row[static_cast<std::size_t>(x)]];
                rgb.insert(rgb.end(), {c.Red, c.Green, c.Blue});
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (b.Format() == PixelFormat::Bits32 ? 4 : 3);
                rgb.insert(rgb.end(), {row[at + 2], row[at + 1], row[at]});
            }
        }
    }
    return rgb;
}

// Only the cases whose name holds this text run (all when empty).
std::string g_only;
// The program whose whole decode process is timed, or empty.
std::string g_program;
std::string g_folder;

// One `quillmark decode FILE OUT.ppm`, the file written beforehand.
void RunDecodeProcess(const std::string& file)
{
    const std::string output = g_folder + "/out.ppm";
    std::vector<std::string> words{g_program, "decode", file, output};
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, g_program.c_str(), nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s decode %s failed\n", g_program.c_str(), file.c_str());
        std::exit(1);
    }
}

// Our side of a case: the decoder alone, or the whole process on the file.
std::function<void()> OursOrProcess(const char* name, const Bytes& file, std::function<void()> decoder)
{
    if (g_folder.empty())
        return decoder;
    std::string path = g_folder + "/";
    for (const char* c = name; *c; ++c)
        path += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '-';
    path += std::string(name).find("PNG") != std::string::npos    ? ".png"
            : std::string(name).find("TIFF") != std::string::npos ? ".tif"
            : std::string(name).find("GIF") != std::string::npos  ? ".gif"
                                                                   : ".jpg";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
    return [path] { RunDecodeProcess(path); };
}

bool g_writeOnly = false;

// Returns false when the case does not run.
bool Compare(const char* name, const Bytes& file, const std::function<void()>& ours, const std::function<void()>& library,
             const char* libraryName)
{
    if (std::string(name).find(g_only) == std::string::npos)
        return false;
    if (g_writeOnly) {
        (void)OursOrProcess(name, file, ours);
        return false;
    }
    const double a = MedianSeconds(OursOrProcess(name, file, ours));
    const double b = MedianSeconds(library);
    std::printf("%-28s %9zu bytes  quillmark %7.1f ms  %-13s %7.1f ms  ratio %5.2f\n", name, file.size(), a * 1e3,
                libraryName, b * 1e3, a / b);
    std::fflush(stdout);
    return true;
}

template <class Graphic>
std::function<void()> Ours(const Bytes& file)
{
    return [&file] {
        Graphic g;
        g.ReadPicture(file);
    };
}

template <class Graphic>
bool SamePicture(const Bytes& file, const Picture& libraryRgb)
{
    Graphic g;
    g.ReadPicture(file);
    const Bytes ours = RgbOf(g.Picture());
    return ours.size() == libraryRgb.size() && std::equal(ours.begin(), ours.end(), libraryRgb.data());
}

} // namespace

int main(int argc, char** argv)
{
    // --one-core first: every decoder on one core (TIFF shares strips out).
    bool oneCore = false;
    if (argc > 1 && std::string(argv[1]) == "--one-core") {
        oneCore = true;
        SetSharedCores(1);
        --argc;
        ++argv;
    }
    int next = 1;
    bool writeOnly = false;
    if (argc > 2 && std::string(argv[1]) == "--write") {
        g_folder = argv[2];
        std::filesystem::create_directories(g_folder);
        writeOnly = true;
        next = argc;
    } else if (argc > 2 && std::string(argv[1]) == "--process") {
        g_program = argv[2];
        next = 3;
        char folder[] = "/dev/shm/quillmark-decode-bench-XXXXXX";
        char fallback[] = "/tmp/quillmark-decode-bench-XXXXXX";
        const char* made = mkdtemp(folder);
        g_folder = made != nullptr ? made : mkdtemp(fallback);
    }
    if (argc > next)
        g_only = argv[next];
    g_writeOnly = writeOnly;
    TIFFSetWarningHandler(nullptr);
    Rgb chart = Chart();
    Rgb photo = Photo();
    Picture out;
    if (writeOnly)
        std::printf("Writing the pictures into %s\n", g_folder.c_str());
    else if (g_program.empty())
        std::printf("Decoding 6000 x 4000 pictures in memory%s, median of %d runs (ratio: ours / library)\n",
                    oneCore ? " on one core" : "", kRuns);
    else
        std::printf("The whole `quillmark decode FILE OUT.ppm` process in %s against the library's decode in memory,\n"
                    "6000 x 4000 pictures, median of %d runs (ratio: ours / library)\n",
                    g_folder.c_str(), kRuns);

    for (auto& [name, picture] : {std::pair<const char*, Rgb*>{"chart", &chart}, {"photo", &photo}}) {
        const Bytes png = WritePng(*picture);
        const std::string pngName = std::string(name) + " PNG";
        if (Compare(pngName.c_str(), png, Ours<TPNGGraphic>(png), [&] { LibpngDecode(png, out); }, "libpng") &&
            !SamePicture<TPNGGraphic>(png, out))
            std::printf("  (the two pictures differ)\n");
        if (Compare(pngName.c_str(), png, Ours<TPNGGraphic>(png), [&] { LibspngDecode(png, out); }, "libspng") &&
            !SamePicture<TPNGGraphic>(png, out))
            std::printf("  (the two pictures differ)\n");
    }
    const struct {
        const char* name;
        unsigned compression;
        bool predictor;
    } tiffs[] = {{"chart TIFF LZW + predictor", COMPRESSION_LZW, true},
                 {"chart TIFF deflate", COMPRESSION_ADOBE_DEFLATE, false},
                 {"chart TIFF PackBits", COMPRESSION_PACKBITS, false},
                 {"chart TIFF uncompressed", COMPRESSION_NONE, false}};
    for (const auto& t : tiffs) {
        const Bytes tiff = WriteTiff(chart, t.compression, t.predictor);
        if (Compare(t.name, tiff, Ours<TTIFFGraphic>(tiff), [&] { LibtiffDecode(tiff, out); }, "libtiff") &&
            !SamePicture<TTIFFGraphic>(tiff, out))
            std::printf("  (the two pictures differ)\n");
    }
    const Bytes gif = WriteGif(chart);
    if (Compare("chart GIF", gif, Ours<TGIFGraphic>(gif), [&] { GiflibDecode(gif, out); }, "giflib") &&
        !SamePicture<TGIFGraphic>(gif, out))
        std::printf("  (the two pictures differ)\n");
    const Bytes jpeg = WriteJpeg(chart);
    Compare("chart JPEG q90", jpeg, [&] { (void)DecodeJpeg(jpeg); }, [&] { LibjpegDecode(jpeg, out); }, "libjpeg-turbo");
    if (!g_folder.empty() && !writeOnly)
        std::filesystem::remove_all(g_folder);
    return 0;
}
