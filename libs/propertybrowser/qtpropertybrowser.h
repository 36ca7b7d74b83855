#pragma once

#include "qtabstracteditorfactory.h"
#include "qtabstracteditorfactorybase.h"
#include "qtabstractpropertybrowser.h"
#include "qtabstractpropertymanager.h"
#include "qtbrowseritem.h"
#include "qtproperty.h"
