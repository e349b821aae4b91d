#include "test_site.h"
