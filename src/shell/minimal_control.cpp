#include "shell/minimal_control.h"
