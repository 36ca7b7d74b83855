#include "qtspinboxfactory.h"

#include "editorregistry_p.h"

#include <QSpinBox>

namespace {

void showInt(QSpinBox *editor, const QtIntPropertyManager *manager, const QtProperty *property)
{
    editor->setRange(manager->minimum(property), manager->maximum(property));
    editor->setSingleStep(manager->singleStep(property));
    editor->setValue(manager->value(property));
}

} // namespace

QtSpinBoxFactory::QtSpinBoxFactory(QObject *parent)
    : QtAbstractEditorFactory<QtIntPropertyManager>(parent)
    , m_editors(std::make_unique<
                QtPropertyBrowserInternal::EditorRegistry<QtIntPropertyManager, QSpinBox>>(this,
                                                                                           showInt))
{
}

QtSpinBoxFactory::~QtSpinBoxFactory() = default;

void QtSpinBoxFactory::connectPropertyManager(QtIntPropertyManager *manager)
{
    m_editors->follow(manager, &QtIntPropertyManager::valueChanged,
                      &QtIntPropertyManager::rangeChanged,
                      &QtIntPropertyManager::singleStepChanged);
}

QWidget *QtSpinBoxFactory::createEditor(QtIntPropertyManager *manager, QtProperty *property,
                                        QWidget *parent)
{
    auto *editor = m_editors->add(manager, property, new QSpinBox(parent));
    // One edit, one new value: typed digits count once the user confirms them.
    editor->setKeyboardTracking(false);
    m_editors->writeOn(editor, qOverload<int>(&QSpinBox::valueChanged),
                       &QtIntPropertyManager::setValue);
    return editor;
}

void QtSpinBoxFactory::disconnectPropertyManager(QtIntPropertyManager *manager)
{
    m_editors->unfollow(manager);
}
