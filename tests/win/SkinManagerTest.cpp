#include "tests/win/SkinManagerFixture.h"
