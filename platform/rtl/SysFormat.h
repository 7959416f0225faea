// The class library's Format for one real argument: the directives a float display format holds
// ("%.2f", "%8.3e", "%g", "%n", "%m", "%%"), with the decimal and thousand separators of the format
// settings. Text around the directive is copied.
#pragma once

#include <string>
#include <string_view>

// Raises EConvertError "Format '<format>' invalid or incompatible with argument" for a directive that
// takes no real (d, x, s, p, u), a second directive, or a malformed one.
std::string FormatFloatDirective(std::string_view format, double value);
