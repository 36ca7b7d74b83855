#include "qtenumeditorfactory.h"

#include "editorregistry_p.h"

#include <QComboBox>

namespace {

QStringList itemTexts(const QComboBox *editor)
{
    QStringList texts;
    for (int row = 0; row < editor->count(); ++row)
        texts.append(editor->itemText(row));
    return texts;
}

void showEnum(QComboBox *editor, const QtEnumPropertyManager *manager, const QtProperty *property)
{
    // Refilling unchanged names would close an open popup.
    const QStringList names = manager->enumNames(property);
    if (itemTexts(editor) != names) {
        editor->clear();
        editor->addItems(names);
    }
    editor->setCurrentIndex(manager->value(property));
}

} // namespace

QtEnumEditorFactory::QtEnumEditorFactory(QObject *parent)
    : QtAbstractEditorFactory<QtEnumPropertyManager>(parent)
    , m_editors(std::make_unique<
                QtPropertyBrowserInternal::EditorRegistry<QtEnumPropertyManager, QComboBox>>(
          this, showEnum))
{
}

QtEnumEditorFactory::~QtEnumEditorFactory() = default;

void QtEnumEditorFactory::connectPropertyManager(QtEnumPropertyManager *manager)
{
    m_editors->follow(manager, &QtEnumPropertyManager::valueChanged,
                      &QtEnumPropertyManager::enumNamesChanged);
}

QWidget *QtEnumEditorFactory::createEditor(QtEnumPropertyManager *manager, QtProperty *property,
                                           QWidget *parent)
{
    auto *editor = m_editors->add(manager, property, new QComboBox(parent));
    m_editors->writeOn(editor, qOverload<int>(&QComboBox::currentIndexChanged),
                       &QtEnumPropertyManager::setValue);
    return editor;
}

void QtEnumEditorFactory::disconnectPropertyManager(QtEnumPropertyManager *manager)
{
    m_editors->unfollow(manager);
}
