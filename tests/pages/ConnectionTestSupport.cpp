#include "ConnectionTestSupport.h"

#include "link/Utf.h"

namespace conntest {

std::string Messages::Last() const { return shown.empty() ? std::string() : Utf16ToUtf8(shown.back()); }

}  // namespace conntest
