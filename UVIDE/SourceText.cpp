// Decoding, encoding and safe writing of source files.
#include "SourceText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// The text when the bytes are valid UTF-8 that encodes back to the very same bytes.
bool DecodeUtf8(const QByteArray &bytes, QString &text) {
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  text = decoder.decode(bytes);
  return !decoder.hasError() && text.toUtf8() == bytes;
}

// Why the file cannot be read or written, in the system's words. Qt words some reasons itself
// ("Existing file ... is not writable"); those the system knows are asked of it again.
std::string Reason(const QString &path, const QFileDevice &file, bool writing) {
  const QFileInfo info(path);
  if (info.isDir()) return std::strerror(EISDIR);
  if (writing && info.exists()) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
  }
  return file.errorString().toStdString();
}

// "<what><path>: <reason>".
std::runtime_error FileError(const char *what, const QString &path, const QFileDevice &file,
                             bool writing) {
  return std::runtime_error(what + path.toStdString() + ": " + Reason(path, file, writing));
}

bool FitsLatin1(const QString &text) {
  for (QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

}  // namespace

TSourceText DecodeSource(const QByteArray &bytes) {
  TSourceText source;
  if (!DecodeUtf8(bytes, source.Text)) {
    source.Text = QString::fromLatin1(bytes);
    source.Encoding = TTextEncoding::teLatin1;
  }
  source.Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  source.Text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return source;
}

QByteArray EncodeSource(const QString &text, TTextEncoding &encoding) {
  if (encoding == TTextEncoding::teLatin1 && FitsLatin1(text)) return text.toLatin1();
  encoding = TTextEncoding::teUtf8;
  return text.toUtf8();
}

QString BytesToText(std::string_view bytes) {
  const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString text;
  return DecodeUtf8(raw, text) ? text : QString::fromLatin1(raw);
}

QByteArray ReadFileBytes(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw FileError("Cannot open file ", path, file, false);
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw FileError("Cannot open file ", path, file, false);
  return bytes;
}

void WriteFileBytes(const QString &path, const QByteArray &bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw FileError("Cannot create file ", path, file, true);
}
