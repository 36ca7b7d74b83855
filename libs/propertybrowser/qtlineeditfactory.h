#pragma once

#include "qtabstracteditorfactory.h"
#include "qtstringpropertymanager.h"

#include <memory>

class QLineEdit;
namespace QtPropertyBrowserInternal {
template <class Manager, class Editor>
class EditorRegistry;
}

// Edits string properties with a line edit; the text takes effect on Enter or when focus leaves.
class QtLineEditFactory : public QtAbstractEditorFactory<QtStringPropertyManager>
{
    Q_OBJECT

public:
    explicit QtLineEditFactory(QObject *parent = nullptr);
    ~QtLineEditFactory() override;

    using QtAbstractEditorFactory<QtStringPropertyManager>::createEditor;

protected:
    void connectPropertyManager(QtStringPropertyManager *manager) override;
    QWidget *createEditor(QtStringPropertyManager *manager, QtProperty *property,
                          QWidget *parent) override;
    void disconnectPropertyManager(QtStringPropertyManager *manager) override;

private:
    std::unique_ptr<QtPropertyBrowserInternal::EditorRegistry<QtStringPropertyManager, QLineEdit>>
        m_editors;
};
