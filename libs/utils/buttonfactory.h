#pragma once

#include "buttonmanager.h"
#include "utils_global.h"

#include <propertybrowser/qteditorfactory.h>

class QPushButton;

namespace Utils {

// Edits the properties of a ButtonManager with a push button that shows the
// caption and clicks the property.
class UTILS_EXPORT ButtonFactory : public QtAbstractEditorFactory<ButtonManager>
{
    Q_OBJECT
public:
    explicit ButtonFactory(QObject *parent = nullptr);
    ~ButtonFactory() override;

    using QtAbstractEditorFactory<ButtonManager>::createEditor;

protected:
    void connectPropertyManager(ButtonManager *manager) override;
    QWidget *createEditor(ButtonManager *manager, QtProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(ButtonManager *manager) override;

private:
    void updateCaption(QtProperty *property, const QString &caption);
    void forgetEditor(QObject *editor);

    QMultiMap<QtProperty *, QPushButton *> m_editors; // owned by the browser
};

} // namespace Utils
