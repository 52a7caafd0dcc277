#pragma once
#include "testbed/plugged_drives.h"
