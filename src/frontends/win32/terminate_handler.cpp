// What ends the installer after an exception that nothing catches. The
// standard library's own handler would print the exception's demangled type
// on the console, which a windowed program does not have, and would bring
// its demangler and formatted output into the executable; this one ends the
// program the same way without them.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
