#include "platform/FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

namespace vendalise {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QString itemPath(const QTreeWidgetItem* item) {
    return item->data(0, kPathRole).toString();
}

QTreeWidgetItem* makeItem(const QString& label, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList(label));
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

} // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { fill(item); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open(itemPath(item)); });
    connect(this, &QTreeWidget::itemClicked, this, [this] { Q_EMIT clicked(); });
}

void FolderList::fill(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool())
        return;
    item->setData(0, kFilledRole, true);
    const QDir dir(itemPath(item));
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        item->addChild(makeItem(name, QDir::toNativeSeparators(dir.filePath(name))));
    if (names.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* FolderList::childNamed(QTreeWidgetItem* parent, const QString& name) {
    fill(parent);
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* child = parent->child(i);
        if (child->text(0) == name)
            return child;
    }
    return nullptr;
}

bool FolderList::open(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    // The tree from the root of the folder's drive down to the folder.
    QDir root(absolute);
    QStringList parts;
    while (!root.isRoot()) {
        parts.prepend(root.dirName());
        if (!root.cdUp())
            break;
    }
    clear();
    QTreeWidgetItem* item = makeItem(QDir::toNativeSeparators(root.absolutePath()),
                                     QDir::toNativeSeparators(root.absolutePath()));
    addTopLevelItem(item);
    for (const QString& part : parts) {
        item->setExpanded(true);
        QTreeWidgetItem* child = childNamed(item, part);
        if (!child) {
            // Hidden folders are not listed; show them on the way all the same.
            child = makeItem(part, QDir::toNativeSeparators(QDir(itemPath(item)).filePath(part)));
            item->addChild(child);
        }
        item = child;
    }
    item->setExpanded(true);
    fill(item);
    setCurrentItem(item);
    scrollToItem(item);
    path_ = QDir::toNativeSeparators(absolute);
    Q_EMIT opened(path_);
    return true;
}

} // namespace vendalise
