#include "host/host_state.h"
