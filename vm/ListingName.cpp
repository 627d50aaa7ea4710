#include "ListingName.h"

#include <filesystem>

#include "Errors.h"
#include "Program.h"

std::string ListingName(const std::string &fileName) {
  const std::size_t folderEnd = fileName.find_last_of("/\\:");
  const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
  const std::size_t dot = fileName.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return (hasExtension ? fileName.substr(0, dot) : fileName) + ".uvc";
}

void WriteListingBeside(const IProgram &program, const std::string &sourceFile) {
  const std::string listing = ListingName(sourceFile);
  std::error_code failed;
  if (std::filesystem::equivalent(listing, sourceFile, failed) && !failed) throw EInOutError(5);
  program.WriteListing(listing);
}
