#pragma once

#include "qtabstractpropertybrowser.h"

#include <memory>

class QtTreePropertyBrowserPrivate;

// Shows properties in a two-column tree, "Property" and "Value". A single click on
// the value, Enter or F2 opens the editor of the current property.
class QtTreePropertyBrowser : public QtAbstractPropertyBrowser
{
    Q_OBJECT

public:
    enum ResizeMode { Interactive, Stretch, Fixed, ResizeToContents };
    Q_ENUM(ResizeMode)

    explicit QtTreePropertyBrowser(QWidget *parent = nullptr);
    ~QtTreePropertyBrowser() override;

    int indentation() const;
    void setIndentation(int pixels);

    bool rootIsDecorated() const;
    void setRootIsDecorated(bool show);

    bool alternatingRowColors() const;
    void setAlternatingRowColors(bool enable);

    bool isHeaderVisible() const;
    void setHeaderVisible(bool visible);

    // How the "Property" column is sized; the "Value" column takes the rest.
    ResizeMode resizeMode() const;
    void setResizeMode(ResizeMode mode);

    // Width of the "Property" column.
    int splitterPosition() const;
    void setSplitterPosition(int position);

    bool isExpanded(QtBrowserItem *item) const;
    void setExpanded(QtBrowserItem *item, bool expanded);

    bool isItemVisible(QtBrowserItem *item) const;
    void setItemVisible(QtBrowserItem *item, bool visible);

    // Makes the item current and opens its editor.
    void editItem(QtBrowserItem *item);

    // Wide enough for the names and the longest value beside them, within reason.
    QSize sizeHint() const override;

signals:
    void collapsed(QtBrowserItem *item);
    void expanded(QtBrowserItem *item);

protected:
    void itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem) override;
    void itemRemoved(QtBrowserItem *item) override;
    void itemChanged(QtBrowserItem *item) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    friend class QtTreePropertyBrowserPrivate;

    std::unique_ptr<QtTreePropertyBrowserPrivate> d;
};
