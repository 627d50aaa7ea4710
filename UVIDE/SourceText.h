// Source files as the editor holds them: bytes on disk, text with LF line ends in the editor.
#pragma once

#include <string_view>

#include <QByteArray>
#include <QString>

// How a file's bytes became text. A file that is not valid UTF-8 is read as Latin-1, so that
// every byte maps to one character and comes back unchanged when the file is saved.
enum class TTextEncoding { teUtf8, teLatin1 };

struct TSourceText {
  QString Text;  // line ends CR LF, CR and LF all turned into LF
  TTextEncoding Encoding = TTextEncoding::teUtf8;
};

TSourceText DecodeSource(const QByteArray &bytes);

// The text as bytes in `encoding`; a text that Latin-1 cannot hold is written as UTF-8 and
// `encoding` changes accordingly.
QByteArray EncodeSource(const QString &text, TTextEncoding &encoding);

// Bytes that come from the compiler or the machine (messages, file names) as display text.
QString BytesToText(std::string_view bytes);

// Reads a whole file; throws std::runtime_error "Cannot open file <path>: <reason>" on failure.
QByteArray ReadFileBytes(const QString &path);

// Replaces a file's contents through a temporary file, so a failed save keeps the old file;
// throws std::runtime_error "Cannot create file <path>: <reason>" on failure.
void WriteFileBytes(const QString &path, const QByteArray &bytes);
