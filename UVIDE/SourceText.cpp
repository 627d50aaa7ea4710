// Decoding, encoding and safe writing of source files.
#include "SourceText.h"

#include <stdexcept>

#include <QFile>
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
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Cannot open file " + path.toStdString());
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw std::runtime_error("Cannot open file " + path.toStdString());
  return bytes;
}

void WriteFileBytes(const QString &path, const QByteArray &bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw std::runtime_error("Cannot create file " + path.toStdString());
}
