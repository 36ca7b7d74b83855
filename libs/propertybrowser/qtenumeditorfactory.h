#pragma once

#include "qtabstracteditorfactory.h"
#include "qtenumpropertymanager.h"

#include <memory>

class QComboBox;
namespace QtPropertyBrowserInternal {
template <class Manager, class Editor>
class EditorRegistry;
}

// Edits enum properties with a combo box of the enum names.
class QtEnumEditorFactory : public QtAbstractEditorFactory<QtEnumPropertyManager>
{
    Q_OBJECT

public:
    explicit QtEnumEditorFactory(QObject *parent = nullptr);
    ~QtEnumEditorFactory() override;

    using QtAbstractEditorFactory<QtEnumPropertyManager>::createEditor;

protected:
    void connectPropertyManager(QtEnumPropertyManager *manager) override;
    QWidget *createEditor(QtEnumPropertyManager *manager, QtProperty *property,
                          QWidget *parent) override;
    void disconnectPropertyManager(QtEnumPropertyManager *manager) override;

private:
    std::unique_ptr<QtPropertyBrowserInternal::EditorRegistry<QtEnumPropertyManager, QComboBox>>
        m_editors;
};
