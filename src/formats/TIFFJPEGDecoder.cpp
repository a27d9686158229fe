#include "formats/TIFFJPEGDecoder.h"

#include "base/Errors.h"
#include "formats/JpegPicture.h"
#include "formats/RasterGraphic.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours longjmps back into RunDecode; only libjpeg's C frames lie between, and
// RunDecode creates no C++ object with a destructor, so nothing is skipped.
// Everything RunDecode learns lives in the heap-allocated Library, which a
// longjmp cannot roll back. Warnings are ignored.
//
// The source manager treats the end of the strip as an error: libjpeg would
// otherwise pad the data and go on, showing a damaged strip as a good one.

namespace quillmark {

namespace {

enum class Outcome {
    Done,
    LibraryError,
    EndOfInput,
    BogusTables,
    StripSize,
    TooManyScans,
    ComponentCount,
    Precision,
    Sampling,
    FractionalScanline,
};

const char* MessageOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::EndOfInput: return "JPEG decompression error. Unexpected end of input.";
    case Outcome::BogusTables: return "Bogus JPEG tables field.";
    case Outcome::StripSize: return "Improper JPEG strip/tile size.";
    case Outcome::ComponentCount: return "Improper JPEG component count.";
    case Outcome::Precision: return "Improper JPEG data precision.";
    case Outcome::Sampling: return "Improper JPEG sampling factors.";
    case Outcome::FractionalScanline: return "Fractional JPEG scanline unsupported.";
    default: return "";
    }
}

} // namespace

struct TTIFFJPEGDecoder::Library {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Errors{};
    jpeg_source_mgr Source{};
    jpeg_progress_mgr Progress{};
    std::jmp_buf Jump{};
    int MessageCode = 0;
    bool EndOfInput = false;
    bool TooManyScans = false;
    bool TablesLoaded = false;
};

namespace {

using Library = TTIFFJPEGDecoder::Library;

Library& LibraryOf(j_common_ptr info)
{
    return *static_cast<Library*>(info->client_data);
}

[[noreturn]] void ExitWithError(j_common_ptr info)
{
    Library& lib = LibraryOf(info);
    lib.MessageCode = info->err->msg_code;
    std::longjmp(lib.Jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}
void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// A progressive stream of a few bytes a scan could otherwise keep libjpeg
// busy for as long as its scans go on.
void CheckScanCount(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        Library& lib = LibraryOf(info);
        lib.TooManyScans = true;
        std::longjmp(lib.Jump, 1);
    }
}

boolean FillInputBuffer(j_decompress_ptr info)
{
    Library& lib = LibraryOf(reinterpret_cast<j_common_ptr>(info));
    lib.EndOfInput = true;
    std::longjmp(lib.Jump, 1);
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr& src = *info->src;
    const auto n = static_cast<std::size_t>(count);
    if (n > src.bytes_in_buffer) {
        src.next_input_byte += src.bytes_in_buffer;
        src.bytes_in_buffer = 0;
        FillInputBuffer(info);
    }
    src.next_input_byte += n;
    src.bytes_in_buffer -= n;
}

void SetSource(Library& lib, const std::uint8_t* data, std::size_t size)
{
    lib.Source.next_input_byte = data;
    lib.Source.bytes_in_buffer = size;
}

struct Job {
    const TTIFFJPEGDecoder::Settings* Settings;
    const std::uint8_t* Data;
    std::size_t Size;
    std::uint8_t* Target;
    std::size_t RowBytes;
    std::uint32_t Width;
    std::uint32_t Rows;
    std::uint32_t MaxRows;
};

// All libjpeg calls of one strip; returns how it ended.
Outcome RunDecode(Library& lib, const Job& job)
{
    jpeg_decompress_struct& info = lib.Info;
    volatile bool inTables = false;
    if (setjmp(lib.Jump) != 0) {
        jpeg_abort_decompress(&info);
        if (inTables)
            return Outcome::BogusTables;
        if (lib.TooManyScans)
            return Outcome::TooManyScans;
        return lib.EndOfInput ? Outcome::EndOfInput : Outcome::LibraryError;
    }
    const auto& settings = *job.Settings;
    if (!lib.TablesLoaded && !settings.Tables.empty()) {
        inTables = true;
        if (settings.Tables.size() <= 2)
            return Outcome::BogusTables;
        SetSource(lib, settings.Tables.data(), settings.Tables.size());
        if (jpeg_read_header(&info, FALSE) != JPEG_HEADER_TABLES_ONLY)
            return Outcome::BogusTables;
        inTables = false;
    }
    lib.TablesLoaded = true;

    SetSource(lib, job.Data, job.Size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_abort_decompress(&info);
        return Outcome::EndOfInput;
    }
    Outcome check = Outcome::Done;
    // The stream may be no taller than its strip or tile: libjpeg sizes its
    // buffers by the stream's own header, not by the rows we read.
    if (info.image_width < job.Width || info.image_height < job.Rows || info.image_height > job.MaxRows)
        check = Outcome::StripSize;
    else if (info.image_width > job.Width)
        check = Outcome::FractionalScanline;
    else if (static_cast<unsigned>(info.num_components) != settings.Components ||
             (settings.Components != 1 && settings.Components != 3))
        check = Outcome::ComponentCount;
    else if (static_cast<unsigned>(info.data_precision) != settings.BitsPerSample)
        check = Outcome::Precision;
    else {
        const bool ycbcr = settings.Photometric == 6 && settings.Components == 3;
        for (int c = 0; c < info.num_components; ++c) {
            const int h = ycbcr && c == 0 ? static_cast<int>(settings.SubsamplingH) : 1;
            const int v = ycbcr && c == 0 ? static_cast<int>(settings.SubsamplingV) : 1;
            if (info.comp_info[c].h_samp_factor != h || info.comp_info[c].v_samp_factor != v)
                check = Outcome::Sampling;
        }
    }
    if (check != Outcome::Done) {
        jpeg_abort_decompress(&info);
        return check;
    }
    if (settings.Components == 3) {
        if (settings.Photometric == 2)
            info.jpeg_color_space = JCS_RGB;
        info.out_color_space = JCS_EXT_BGR;
    } else {
        info.out_color_space = JCS_GRAYSCALE;
    }
    // Beyond the image-size check, a ceiling for what libjpeg may allocate
    // (a progressive stream keeps every coefficient): four bytes a sample
    // of the strip, plus room for the tables.
    info.mem->max_memory_to_use = static_cast<long>(
        std::min<std::uint64_t>(std::uint64_t{job.RowBytes} * job.MaxRows * 4 + (std::uint64_t{64} << 20),
                                std::numeric_limits<long>::max()));
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.scale_num = 1;
    info.scale_denom = 1;
    jpeg_start_decompress(&info);
    for (std::uint32_t y = 0; y < job.Rows; ++y) {
        JSAMPROW row = job.Target + y * job.RowBytes;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_abort_decompress(&info);
            return Outcome::EndOfInput;
        }
    }
    // Abort rather than finish: the tables stay loaded for the next strip.
    jpeg_abort_decompress(&info);
    return Outcome::Done;
}

} // namespace

TTIFFJPEGDecoder::TTIFFJPEGDecoder(Settings settings)
    : m_settings(std::move(settings)), m_library(std::make_unique<Library>())
{
    Library& lib = *m_library;
    lib.Info.err = jpeg_std_error(&lib.Errors);
    lib.Errors.error_exit = ExitWithError;
    lib.Errors.emit_message = IgnoreMessage;
    lib.Errors.output_message = IgnoreOutput;
    lib.Info.client_data = &lib;
    // jpeg_create_decompress reports failure through error_exit too.
    if (setjmp(lib.Jump) != 0)
        throw CompressionError(FormatMessage("JPEG error #%d", {std::to_string(lib.MessageCode)}));
    jpeg_create_decompress(&lib.Info);
    lib.Source.init_source = InitSource;
    lib.Source.fill_input_buffer = FillInputBuffer;
    lib.Source.skip_input_data = SkipInputData;
    lib.Source.resync_to_restart = jpeg_resync_to_restart;
    lib.Source.term_source = TermSource;
    lib.Info.src = &lib.Source;
    lib.Progress.progress_monitor = CheckScanCount;
    lib.Info.progress = &lib.Progress;
}

TTIFFJPEGDecoder::~TTIFFJPEGDecoder()
{
    jpeg_destroy_decompress(&m_library->Info);
}

void TTIFFJPEGDecoder::SetBlockSize(std::uint32_t width, std::uint32_t rows, std::uint32_t maxRows)
{
    m_width = width;
    m_rows = rows;
    m_maxRows = std::max(rows, maxRows);
}

void TTIFFJPEGDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                              std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
                              std::size_t packedCount)
{
    const std::size_t inCount = UnpackLimit(source.size(), sourcePos, packedCount);
    const std::size_t outCount = UnpackLimit(target.size(), targetPos, unpackedCount);
    const std::size_t rowBytes = std::size_t{m_width} * (m_settings.Components == 3 ? 3 : 1);
    if (rowBytes * m_rows > outCount)
        throw InternalError("JPEG target smaller than its strip");
    if (m_rows == 0 || m_width == 0)
        return;
    m_library->EndOfInput = false;
    m_library->TooManyScans = false;
    const Job job{&m_settings, source.data() + sourcePos, inCount, target.data() + targetPos, rowBytes, m_width,
                  m_rows, m_maxRows};
    const Outcome outcome = RunDecode(*m_library, job);
    if (outcome == Outcome::TooManyScans)
        throw InvalidGraphicError(FormatMessage(kInvalidImageFormat, {"TIF/TIFF"}));
    if (outcome == Outcome::LibraryError)
        throw CompressionError(FormatMessage("JPEG error #%d", {std::to_string(m_library->MessageCode)}));
    if (outcome != Outcome::Done)
        throw CompressionError(MessageOf(outcome));
    sourcePos += inCount;
    targetPos += rowBytes * m_rows;
}

} // namespace quillmark
