#include "core/fatal.h"

void InternalFatal(const char* module, int line) {
  FatalErrorFormat("Internal Fatal Error\r\nModule: %s\r\nLine: %d", module, line);
}

// A call through a vtable slot of an abstract class is a programming error like any other. The C++
// runtime's own handler would bring its terminate and unwinding machinery into the image with it.
extern "C" void __cxa_pure_virtual() { InternalFatal(kContainerModule, kPureVirtualCallCheck); }
