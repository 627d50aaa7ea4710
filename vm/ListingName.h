// Where the listing of a source file goes: beside it, with the extension ".uvc".
#pragma once

#include <string>

// The file name without its extension (from the last "." of the name without its folder on)
// followed by ".uvc": demo.pas -> demo.uvc, demo -> demo.uvc, my.dir/demo -> my.dir/demo.uvc.
std::string ListingName(const std::string &fileName);
