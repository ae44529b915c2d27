// JPEG files through libjpeg, errors turned from libjpeg's exit into a failed result.
#include "jpeg.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>

namespace jpeg {
namespace {

struct Errores {
    jpeg_error_mgr mgr;
    std::jmp_buf salto;
};

[[noreturn]] void Falla(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errores *>(info->err)->salto, 1);
}

struct CierraFichero {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using Fichero = std::unique_ptr<std::FILE, CierraFichero>;

// The rows of image, as 8-bit RGB, into an open compressor. False on a libjpeg error.
bool Comprime(std::FILE *f, const QImage &rgb, int quality)
{
    jpeg_compress_struct info;
    Errores errores;
    info.err = jpeg_std_error(&errores.mgr);
    errores.mgr.error_exit = Falla;
    if (setjmp(errores.salto)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW fila = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &fila, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

// The decompressor's picture into destino (the caller's, so that a jump leaves it whole).
// False on a libjpeg error.
bool Descomprime(std::FILE *f, QImage *destino)
{
    jpeg_decompress_struct info;
    Errores errores;
    info.err = jpeg_std_error(&errores.mgr);
    errores.mgr.error_exit = Falla;
    if (setjmp(errores.salto)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, f);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *destino = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (!destino->isNull() && info.output_scanline < info.output_height) {
        JSAMPROW fila = destino->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &fila, 1);
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool write(const QString &path, const QImage &image, int quality)
{
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const QByteArray destino = QFile::encodeName(path);
    const QByteArray temporal = destino + ".tmp";
    bool escrito = false;
    if (Fichero f{std::fopen(temporal.constData(), "wb")})
        escrito = Comprime(f.get(), rgb, quality) && std::fflush(f.get()) == 0 && !std::ferror(f.get());
    if (escrito && std::rename(temporal.constData(), destino.constData()) == 0)
        return true;
    std::remove(temporal.constData());
    return false;
}

QImage read(const QString &path)
{
    QImage imagen;
    Fichero f{std::fopen(QFile::encodeName(path).constData(), "rb")};
    if (!f || !Descomprime(f.get(), &imagen))
        return {};
    return imagen;
}

} // namespace jpeg
