// The scanner: block reading with give-back, line counting and the token scanners.
#include "UVScanner.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Errors.h"

namespace {

constexpr unsigned char CR = 13;
constexpr unsigned char LF = 10;

bool IsBlank(unsigned char c) { return c <= 32; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsIdentStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(unsigned char c) { return IsIdentStart(c) || IsDigit(c); }

// The I/O error code the rest of the system uses for an operating system error.
int InOutCode(int err) {
  switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR: return 5;
    default: return err;
  }
}

constexpr int ReadErrorCode = 100;

TTokenKind OneCharToken(unsigned char c) {
  switch (c) {
    case ';': return tkSemicolon;
    case ',': return tkComma;
    case '[': return tkLBracket;
    case ']': return tkRBracket;
    case '(': return tkLParen;
    case ')': return tkRParen;
    case '^': return tkCaret;
    case '@': return tkAt;
    case '=': return tkEqual;
    case '+': return tkPlus;
    case '-': return tkMinus;
    case '*': return tkStar;
    case '/': return tkSlash;
    default: return tkErroneus;
  }
}

// A real literal that did not convert is either too large for a double (an error) or too
// small (it reads as 0). It is too large when the decimal power of its first non-zero digit,
// exponent included, is positive.
bool LiteralOverflows(const std::string &text) {
  std::size_t i = 0;
  std::int64_t power = 0;
  bool seenNonZero = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (seenNonZero) {
      ++power;
    } else if (text[i] != '0') {
      seenNonZero = true;
    }
  }
  if (i < text.size() && text[i] == '.') {
    std::int64_t zeros = 0;
    for (++i; i < text.size() && IsDigit(text[i]); ++i) {
      if (seenNonZero) continue;
      if (text[i] == '0') {
        ++zeros;
      } else {
        seenNonZero = true;
        power = -(zeros + 1);
      }
    }
  }
  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return power + exponent > 0;
}

}  // namespace

std::string FileNameWithoutDirectory(const std::string &path) {
  const auto pos = path.find_last_of("/\\:");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

TUVScanner::TUVScanner() = default;

TUVScanner::~TUVScanner() { Close(); }

void TUVScanner::SetSourceFile(const std::string &path) {
  Close();
  SourcePath = path;
  SourceName = FileNameWithoutDirectory(path);
}

void TUVScanner::Open() {
  Close();
  // Only regular files are sources: a pipe would block the open (hence O_NONBLOCK, which
  // changes nothing for a regular file) and a device such as /dev/zero would never end.
  int fd;
  do {
    fd = ::open(SourcePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw EInOutError(InOutCode(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? errno : EINVAL;
    ::close(fd);
    throw EInOutError(InOutCode(err));
  }
  Fd = fd;
  FileSize = static_cast<std::int64_t>(st.st_size);
  BufCount = 0;
  BufIndex = 0;
  Line = 1;
  Position = 0;
  PutBackFlag = false;
  Current = TToken();
  Previous = Current;
  KeptFlag = false;
  HaveKept = false;
  KeptIsLineEnd = false;
}

void TUVScanner::Close() {
  if (Fd >= 0) {
    ::close(Fd);
    Fd = -1;
  }
}

void TUVScanner::GetToken(TToken &token) const { token = PutBackFlag ? Previous : Current; }

// A CR ends a line; so does a LF, unless it completes a CR LF pair.
bool TUVScanner::IsLineEndAt(int index) const {
  const unsigned char c = Buffer[index];
  if (c == CR) return true;
  if (c != LF) return false;
  const bool afterCR = index > 0 ? Buffer[index - 1] == CR : (HaveKept && Kept == CR);
  return !afterCR;
}

bool TUVScanner::FillBuffer() {
  ssize_t n;
  do {
    n = ::read(Fd, Buffer, BlockSize);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw EInOutError(ReadErrorCode);
  if (n == 0) return false;
  BufCount = static_cast<int>(n);
  BufIndex = 0;
  return true;
}

bool TUVScanner::ReadChar(unsigned char &c) {
  if (KeptFlag) {
    KeptFlag = false;
    c = Kept;
    ++Position;
    if (KeptIsLineEnd) ++Line;
    return true;
  }
  if (BufIndex >= BufCount) {
    if (Fd < 0) return false;
    const bool hadBytes = BufCount > 0;
    const unsigned char last = hadBytes ? Buffer[BufCount - 1] : 0;
    const bool lastIsLineEnd = hadBytes && IsLineEndAt(BufCount - 1);
    if (!FillBuffer()) {
      Close();
      return false;
    }
    if (hadBytes) {
      Kept = last;
      KeptIsLineEnd = lastIsLineEnd;
      HaveKept = true;
    }
  }
  c = Buffer[BufIndex];
  if (IsLineEndAt(BufIndex)) ++Line;
  ++BufIndex;
  ++Position;
  return true;
}

void TUVScanner::UnreadChar() {
  if (BufIndex > 0) {
    --BufIndex;
    if (IsLineEndAt(BufIndex)) --Line;
    --Position;
  } else if (HaveKept && !KeptFlag) {
    KeptFlag = true;
    if (KeptIsLineEnd) --Line;
    --Position;
  }
}

void TUVScanner::SetErrorToken(const std::string &text) {
  Current = TToken();
  Current.Kind = tkErroneus;
  Current.Text = text.substr(0, MaxStringLength);
}

bool TUVScanner::NextToken() {
  if (PutBackFlag) {
    PutBackFlag = false;
    return true;
  }
  Previous = Current;
  const bool more = ScanToken();
  Current.Line = Line;
  return more;
}

bool TUVScanner::ScanToken() {
  for (;;) {
    unsigned char c = 0;
    do {
      if (!ReadChar(c)) {
        Current = TToken();
        Current.Kind = tkEOF;
        return false;
      }
    } while (IsBlank(c));

    if (c == '{') {
      do {
        if (!ReadChar(c)) {
          Current = TToken();
          Current.Kind = tkEOF;
          return false;
        }
      } while (c != '}');
      continue;
    }

    if (c == '\'' || c == '#') {
      UnreadChar();
      ScanString();
    } else if (IsDigit(c)) {
      UnreadChar();
      ScanNumber();
    } else if (IsIdentStart(c)) {
      UnreadChar();
      ScanIdentifier();
    } else {
      Current = TToken();
      Current.Text.assign(1, static_cast<char>(c));
      TTokenKind kind = OneCharToken(c);
      unsigned char d = 0;
      switch (c) {
        case ':':
        case '.':
        case '<':
        case '>': {
          kind = c == ':' ? tkColon : c == '.' ? tkPeriod : c == '<' ? tkLess : tkGreater;
          if (ReadChar(d)) {
            TTokenKind pair = tkErroneus;
            if (c == ':' && d == '=') pair = tkAssign;
            if (c == '.' && d == '.') pair = tkRange;
            if (c == '<' && d == '=') pair = tkLessEqual;
            if (c == '<' && d == '>') pair = tkNotEqual;
            if (c == '>' && d == '=') pair = tkGreaterEqual;
            if (pair != tkErroneus) {
              kind = pair;
              Current.Text.push_back(static_cast<char>(d));
            } else {
              UnreadChar();
            }
          }
          break;
        }
        default:
          break;
      }
      Current.Kind = kind;
    }
    return true;
  }
}

void TUVScanner::ScanIdentifier() {
  std::string text;
  bool hasDigit = false;
  unsigned char c = 0;
  while (ReadChar(c)) {
    if (!IsIdentChar(c)) {
      UnreadChar();
      break;
    }
    hasDigit = hasDigit || IsDigit(c);
    text.push_back(static_cast<char>(c));
  }
  if (text.size() > MaxIdentifierLength) {
    SetErrorToken(text);
    return;
  }
  Current = TToken();
  Current.Kind = tkIdentifier;
  Current.Text = text;
  if (hasDigit) return;
  std::string upper = text;
  for (char &ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  for (int k = FirstReservedWord; k <= LastReservedWord; ++k) {
    if (upper == TokenNames[k]) {
      Current.Kind = static_cast<TTokenKind>(k);
      return;
    }
  }
  if (upper == "TRUE" || upper == "FALSE") {
    Current.Kind = tkBoolean;
    Current.BoolValue = upper == "TRUE";
  }
}

void TUVScanner::ScanNumber() {
  std::string text;
  unsigned char c = 0;
  // Appends digits; true with c the first non-digit after them, false at end of file.
  auto collectDigits = [&]() -> bool {
    while (ReadChar(c)) {
      if (!IsDigit(c)) return true;
      text.push_back(static_cast<char>(c));
    }
    return false;
  };

  bool more = collectDigits();
  bool isReal = false;
  if (more && c == '.') {
    unsigned char d = 0;
    const bool gotNext = ReadChar(d);
    if (!gotNext || !IsDigit(d)) {
      // "1..9" and "3.x": give back the period and the character after it.
      if (gotNext) UnreadChar();
      UnreadChar();
      IntegerToken(text);
      return;
    }
    text.push_back('.');
    text.push_back(static_cast<char>(d));
    more = collectDigits();
    isReal = true;
  }
  if (more && (c == 'E' || c == 'e')) {
    text.push_back(static_cast<char>(c));
    bool got = ReadChar(c);
    if (got && (c == '+' || c == '-')) {
      text.push_back(static_cast<char>(c));
      got = ReadChar(c);
    }
    if (!got || !IsDigit(c)) {
      if (got) UnreadChar();
      SetErrorToken(text);
      return;
    }
    text.push_back(static_cast<char>(c));
    if (collectDigits()) UnreadChar();
    isReal = true;
  } else if (more) {
    UnreadChar();
  }
  if (isReal) {
    RealToken(text);
  } else {
    IntegerToken(text);
  }
}

void TUVScanner::IntegerToken(const std::string &digits) {
  std::int64_t value = 0;
  for (char ch : digits) {
    value = value * 10 + (ch - '0');
    if (value > INT32_MAX) {
      SetErrorToken(digits);
      return;
    }
  }
  Current = TToken();
  Current.Kind = tkInteger;
  Current.Text = digits;
  Current.IntValue = value;
}

void TUVScanner::RealToken(const std::string &literal) {
  double value = 0.0;
  const char *first = literal.data();
  const char *last = first + literal.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range && !LiteralOverflows(literal)) {
    value = 0.0;  // too small for a double: reads as zero
  } else if (ec != std::errc() || ptr != last) {
    SetErrorToken(literal);
    return;
  }
  Current = TToken();
  Current.Kind = tkReal;
  Current.Text = literal;
  Current.RealValue = value;
}

void TUVScanner::ScanString() {
  SetErrorToken(std::string());
  std::string value;
  unsigned char c = 0;
  for (;;) {
    // A quoted part or a character code starts here.
    if (!ReadChar(c)) return;
    if (c == '\'') {
      for (;;) {
        if (!ReadChar(c)) {
          SetErrorToken(value);
          return;
        }
        if (c == CR || c == LF) {
          // A literal cannot span lines.
          UnreadChar();
          SetErrorToken(value);
          return;
        }
        if (c != '\'') {
          value.push_back(static_cast<char>(c));
          continue;
        }
        if (!ReadChar(c)) {
          c = 0;  // complete at end of file
          break;
        }
        if (c == '\'') {
          value.push_back('\'');
          continue;
        }
        UnreadChar();
        break;
      }
      if (c == '#') continue;
      break;
    }
    // Character code: '#' and up to three digits.
    std::string digits;
    bool more = false;
    while ((more = ReadChar(c))) {
      if (!IsDigit(c)) break;
      digits.push_back(static_cast<char>(c));
    }
    if (more) UnreadChar();
    if (digits.empty() || digits.size() > 3 || std::stoi(digits) > 255) {
      SetErrorToken("#" + digits);
      return;
    }
    value.push_back(static_cast<char>(std::stoi(digits)));
    if (!more) break;
    // c is the character after the digits (given back): go on with another part?
    if (c != '#' && c != '\'') break;
  }
  if (value.size() > MaxStringLength) {
    SetErrorToken(value);
    return;
  }
  Current = TToken();
  Current.Kind = tkString;
  Current.Text = value;
}
