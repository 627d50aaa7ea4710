// The scanner: turns one source file into tokens for the parser (IScanner / TUVScanner).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Tokens.h"

// The scanner as the parser sees it. Reference-counted through IScannerRef.
//
// Errors: Open throws EInOutError (vm/Errors.h) when the file cannot be opened; NextToken
// throws EInOutError when a read fails. Lexical errors and the end of the file are tokens
// (tkErroneus, tkEOF), never exceptions.
class IScanner {
 public:
  virtual ~IScanner() = default;
  // Closes the file if open, binds the path and takes the name without its directory (the
  // text after the last '/', '\' or ':'). Does not open the file.
  virtual void SetSourceFile(const std::string &path) = 0;
  // Opens the bound file and resets: line 1, position 0, current and previous token an empty
  // Erroneus Token. On failure throws EInOutError and changes nothing else.
  virtual void Open() = 0;
  // Closes the file if open; safe at any time.
  virtual void Close() = 0;
  virtual std::string GetSourceName() const = 0;
  // Makes the next token current; false when it is EOF. Right after PutBack it only makes the
  // current token current again and answers true.
  virtual bool NextToken() = 0;
  // Steps back one token: GetToken gives the previous token until the next NextToken, which
  // only makes the current token current again.
  virtual void PutBack() = 0;
  virtual void GetToken(TToken &token) const = 0;
  // Line on which the current token ends (first line 1).
  virtual std::int32_t GetLine() const = 0;
  virtual std::int64_t GetFileSize() const = 0;
  // Characters consumed since Open, less those given back.
  virtual std::int64_t GetPosition() const = 0;
};

using IScannerRef = std::shared_ptr<IScanner>;

class TUVScanner final : public IScanner {
 public:
  static constexpr int BlockSize = 512;
  static constexpr std::size_t MaxIdentifierLength = 64;
  static constexpr std::size_t MaxStringLength = 255;

  TUVScanner();
  ~TUVScanner() override;
  TUVScanner(const TUVScanner &) = delete;
  TUVScanner &operator=(const TUVScanner &) = delete;

  void SetSourceFile(const std::string &path) override;
  void Open() override;
  void Close() override;
  std::string GetSourceName() const override { return SourceName; }
  bool NextToken() override;
  void PutBack() override { PutBackFlag = true; }
  void GetToken(TToken &token) const override;
  std::int32_t GetLine() const override { return Line; }
  std::int64_t GetFileSize() const override { return FileSize; }
  std::int64_t GetPosition() const override { return Position; }

 private:
  // Reads the next token into Current; false at the end of the file.
  bool ScanToken();
  bool ReadChar(unsigned char &c);
  void UnreadChar();
  bool FillBuffer();
  bool IsLineEndAt(int index) const;
  void ScanString();
  void ScanNumber();
  void ScanIdentifier();
  void IntegerToken(const std::string &digits);
  void RealToken(const std::string &literal);
  void SetErrorToken(const std::string &text);

  std::string SourcePath;
  std::string SourceName;
  int Fd = -1;  // the open flag: Fd >= 0
  TToken Current;
  TToken Previous;
  bool PutBackFlag = false;
  std::int32_t Line = 1;
  unsigned char Buffer[BlockSize] = {};
  int BufCount = 0;  // bytes in Buffer
  int BufIndex = 0;  // bytes of Buffer handed out
  // The last byte of the previous block, handed out again when a character is given back
  // right after a new block was read.
  unsigned char Kept = 0;
  bool HaveKept = false;
  bool KeptFlag = false;       // deliver Kept next
  bool KeptIsLineEnd = false;  // Kept counted as a line end when it was handed out
  std::int64_t FileSize = 0;
  std::int64_t Position = 0;
};

// Text after the last '/', '\' or ':' of a path.
std::string FileNameWithoutDirectory(const std::string &path);
