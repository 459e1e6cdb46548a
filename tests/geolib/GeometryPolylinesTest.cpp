#include "geometry/Polylines.h"
#include "tavu32d.h"
#include <gtest/gtest.h>
