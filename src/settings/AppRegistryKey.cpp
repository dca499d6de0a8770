#include "settings/AppRegistryKey.h"

#include <istream>
#include <ostream>

namespace korvana {

int AppRegistryKey::Read(std::istream &in)
{
    if (in.peek() == std::istream::traits_type::eof())
        return 1;
    std::string line;
    std::getline(in, line);
    // A file edited on Windows ends its lines in CR LF.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
        name_ = std::move(line);
        value_.clear();
    } else {
        value_.assign(line, eq + 1);
        line.resize(eq);
        name_ = std::move(line);
    }
    return 0;
}

void AppRegistryKey::Write(std::ostream &out) const { out << name_ << '=' << value_ << '\n'; }

} // namespace korvana
