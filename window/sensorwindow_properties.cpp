#include "sensorwindow.h"

#include "sensorwindowdata.h"

#include <qtbrowseritem.h>
#include <qtpropertymanager.h>
#include <utils/buttonmanager.h>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// One value-change link between a property manager and the window.
struct ValueLink
{
    QObject *manager;
    const char *signal;
    const char *slot;
};

void setLinked(SensorWindow *window, const ValueLink &link, bool linked)
{
    if (linked)
        QObject::connect(link.manager, link.signal, window, link.slot, Qt::UniqueConnection);
    else
        QObject::disconnect(link.manager, link.signal, window, link.slot);
}

} // namespace

void SensorWindow::removeSubProperties(QtProperty *)
{
}

void SensorWindow::itemSelected(QtBrowserItem *item)
{
    if (item)
        pendingProperty = item->property();
}

void SensorWindow::intValueChanged(QtProperty *, int)
{
}

void SensorWindow::doubleValueChanged(QtProperty *, double)
{
}

void SensorWindow::boolValueChanged(QtProperty *, bool)
{
}

void SensorWindow::stringValueChanged(QtProperty *, const QString &)
{
}

void SensorWindow::enumValueChanged(QtProperty *, int)
{
}

void SensorWindow::buttonClicked(QtProperty *)
{
}

void SensorWindow::enableTreeDataHandling(bool enabled)
{
    const ValueLink links[] = {
        {data->boolManager, SIGNAL(valueChanged(QtProperty *, bool)), SLOT(boolValueChanged(QtProperty *, bool))},
        {data->intManager, SIGNAL(valueChanged(QtProperty *, int)), SLOT(intValueChanged(QtProperty *, int))},
        {data->doubleManager, SIGNAL(valueChanged(QtProperty *, double)),
         SLOT(doubleValueChanged(QtProperty *, double))},
        {data->enumManager, SIGNAL(valueChanged(QtProperty *, int)), SLOT(enumValueChanged(QtProperty *, int))},
        {data->buttonManager, SIGNAL(buttonClicked(QtProperty *)), SLOT(buttonClicked(QtProperty *))},
    };
    for (const ValueLink &link : links)
        setLinked(this, link, enabled);
}

// Never switched on by the window itself, so edits of text properties are not written.
void SensorWindow::enableStringManagerHandling(bool enabled)
{
    setLinked(this,
              {data->stringManager, SIGNAL(valueChanged(QtProperty *, const QString &)),
               SLOT(stringValueChanged(QtProperty *, const QString &))},
              enabled);
}

void SensorWindow::comboIndexChangedString(QString)
{
}

void SensorWindow::comboIndexChangedInt(int)
{
}

} // namespace Core
} // namespace BravoSensorPlugin
