#pragma once
// Moved to tests/common; kept so that older includes still build.
#include "tests/common/TestHttpServer.h"
