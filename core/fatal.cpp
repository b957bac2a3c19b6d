#include "core/fatal.h"

void InternalFatal(const char* module, int line) {
  FatalErrorFormat("Internal Fatal Error\r\nModule: %s\r\nLine: %d", module, line);
}
