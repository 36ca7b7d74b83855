#pragma once

#include "qtcheckboxfactory.h"
#include "qtdoublespinboxfactory.h"
#include "qtenumeditorfactory.h"
#include "qtlineeditfactory.h"
#include "qtspinboxfactory.h"
