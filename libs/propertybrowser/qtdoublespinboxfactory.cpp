#include "qtdoublespinboxfactory.h"

#include "editorregistry_p.h"

#include <QDoubleSpinBox>

namespace {

void showDouble(QDoubleSpinBox *editor, const QtDoublePropertyManager *manager,
                const QtProperty *property)
{
    // Decimals first: the spin box rounds range and value to them.
    editor->setDecimals(manager->decimals(property));
    editor->setRange(manager->minimum(property), manager->maximum(property));
    editor->setSingleStep(manager->singleStep(property));
    editor->setValue(manager->value(property));
}

} // namespace

QtDoubleSpinBoxFactory::QtDoubleSpinBoxFactory(QObject *parent)
    : QtAbstractEditorFactory<QtDoublePropertyManager>(parent)
    , m_editors(std::make_unique<
                QtPropertyBrowserInternal::EditorRegistry<QtDoublePropertyManager, QDoubleSpinBox>>(
          this, showDouble))
{
}

QtDoubleSpinBoxFactory::~QtDoubleSpinBoxFactory() = default;

void QtDoubleSpinBoxFactory::connectPropertyManager(QtDoublePropertyManager *manager)
{
    m_editors->follow(
        manager, &QtDoublePropertyManager::valueChanged, &QtDoublePropertyManager::rangeChanged,
        &QtDoublePropertyManager::singleStepChanged, &QtDoublePropertyManager::decimalsChanged);
}

QWidget *QtDoubleSpinBoxFactory::createEditor(QtDoublePropertyManager *manager,
                                              QtProperty *property, QWidget *parent)
{
    auto *editor = m_editors->add(manager, property, new QDoubleSpinBox(parent));
    editor->setKeyboardTracking(false);
    m_editors->writeOn(editor, qOverload<double>(&QDoubleSpinBox::valueChanged),
                       &QtDoublePropertyManager::setValue);
    return editor;
}

void QtDoubleSpinBoxFactory::disconnectPropertyManager(QtDoublePropertyManager *manager)
{
    m_editors->unfollow(manager);
}
