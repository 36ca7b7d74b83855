#pragma once

#include <support/ptydevice.h>
