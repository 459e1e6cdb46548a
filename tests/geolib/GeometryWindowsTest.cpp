#include "geometry/Windows.h"
#include "tavu32d.h"
#include <gtest/gtest.h>
