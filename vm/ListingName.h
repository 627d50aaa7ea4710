// Where the listing of a source file goes: beside it, with the extension ".uvc".
#pragma once

#include <string>

// The file name without its extension (from the last "." of the name without its folder on)
// followed by ".uvc": demo.pas -> demo.uvc, demo -> demo.uvc, my.dir/demo -> my.dir/demo.uvc.
std::string ListingName(const std::string &fileName);

class IProgram;

// Writes the program's listing beside its source file (ListingName). A listing that would
// replace the source itself (a source named X.uvc, or a listing name linked to the source) is
// refused with EInOutError "File access denied".
void WriteListingBeside(const IProgram &program, const std::string &sourceFile);
