#include "Program.h"
#include "Errors.h"

// Placeholder until the listing writer lands.
void TUVCProgram::WriteListing(const std::string &) const { throw EInOutError(5); }
