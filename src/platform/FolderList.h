#pragma once

#include <QTreeWidget>

namespace vendalise {

// The folders of the current drive as a tree (on Linux, from the root), the
// shown folder open. A double click on a folder opens it; a single click
// only selects a row.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The folder shown, as a full native path.
    QString path() const { return path_; }
    // Opens the folder: it becomes the one shown. Returns false, changing
    // nothing, when it does not exist.
    bool open(const QString& folder);

Q_SIGNALS:
    // The shown folder has changed.
    void opened(const QString& path);
    // A click on a row.
    void clicked();

private:
    QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& name);
    void fill(QTreeWidgetItem* item);

    QString path_;
};

} // namespace vendalise
