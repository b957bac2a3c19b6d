#include "platform/application_name.h"

String ApplicationName;
