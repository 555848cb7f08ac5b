#include "console/console_front_end.h"

#include <ostream>

// Placeholder: the console front-end is being written.
namespace tamvel {
int RunConsole(std::istream&, std::ostream& out) {
    out << "{\"event\":\"ready\"}\n{\"event\":\"exit\",\"code\":0}\n";
    return 0;
}
}  // namespace tamvel
