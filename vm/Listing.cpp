// The listing file: the compiled program as text, CR LF line ends.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "Errors.h"
#include "FloatToStr.h"
#include "Program.h"

namespace {

// The error codes of EInOutError for an errno value.
int IOCodeFor(int err) {
  switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    default: return err;
  }
}

class TListingFile {
 public:
  explicit TListingFile(const std::string &fileName) {
    Fd = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (Fd < 0) throw EInOutError(IOCodeFor(errno));
  }
  ~TListingFile() {
    if (Fd >= 0) close(Fd);
  }
  TListingFile(const TListingFile &) = delete;
  TListingFile &operator=(const TListingFile &) = delete;

  void Line(const std::string &text) {
    Buffer += text;
    Buffer += "\r\n";
    if (Buffer.size() >= 65536) Flush();
  }

  void Close() {
    Flush();
    const int fd = Fd;
    Fd = -1;
    if (close(fd) != 0 && errno != EINTR) throw EInOutError(IOCodeFor(errno));
  }

 private:
  void Flush() {
    std::size_t done = 0;
    while (done < Buffer.size()) {
      const ssize_t n = write(Fd, Buffer.data() + done, Buffer.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw EInOutError(IOCodeFor(errno));
      if (n == 0) throw EInOutError(101);
      done += static_cast<std::size_t>(n);
    }
    Buffer.clear();
  }

  int Fd = -1;
  std::string Buffer;
};

void AppendOperand(std::string &line, const TInstruction &ins) {
  const auto op = static_cast<TOpcode>(ins.Opcode);
  switch (op < OpcodeCount ? OpcodeOperands[op] : okNone) {
    case okInt:
      line += '\t';
      line += IntToStr(ins.IntValue);
      break;
    case okReal:
      line += '\t';
      line += FloatToStr(ins.RealValue);
      break;
    case okBool:
      line += ins.BoolValue ? "\t True" : "\t False";
      break;
    case okStr:
      line += "\t '";
      line += ins.StrValue.View();
      line += '\'';
      break;
    case okNone:
      break;
  }
}

}  // namespace

std::string ListingText(const TInstruction &ins) {
  std::string line = ins.Opcode < OpcodeCount ? OpcodeNames[ins.Opcode] : OpcodeNames[0];
  AppendOperand(line, ins);
  return line;
}

void TUVCProgram::WriteListing(const std::string &fileName) const {
  TListingFile file(fileName);
  file.Line("Program name: " + GetProgramName());
  file.Line("Source file: " + GetSourceFileName());
  file.Line("");
  TInstruction ins;
  char index[16];
  for (std::int32_t i = 0; i < GetCount(); ++i) {
    GetInstruction(i, ins);
    std::snprintf(index, sizeof index, "%3d", static_cast<int>(i));
    file.Line(std::string(index) + '\t' + ListingText(ins));
  }
  file.Close();
}
