#include "app/global.h"

StartupSettings CGlobal::startup_;
