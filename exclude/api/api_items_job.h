// Handlers of the job type, user, authentication and information status items.
#pragma once
#include "platform/win32.h"

struct ApiContext;

