#include "core/profile.h"

#include <windows.h>

namespace {

constexpr DWORD kValueBuffer = 10240;  // so a value holds at most 10239 bytes

Text SkipLeadingBlanks(const Text& text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 0x20) ++i;
    return text.substr(i);
}

}  // namespace

Text ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& fallback)
{
    Text f = SkipLeadingBlanks(file), s = SkipLeadingBlanks(section), k = SkipLeadingBlanks(key);
    if (f.empty() || s.empty() || k.empty()) return Text();
    char value[kValueBuffer] = {};
    GetPrivateProfileStringA(s.c_str(), k.c_str(), fallback.c_str(), value, kValueBuffer,
                             f.c_str());
    value[kValueBuffer - 1] = '\0';
    return Text(value);
}

bool WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      file.c_str()) != 0;
}
