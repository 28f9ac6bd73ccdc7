#pragma once

#include <QTreeWidgetItem>

// What the loader remembers on each Contents node: its creation number (the position of its
// entry in the node target list and in NodeTable) and its two image indexes.
namespace project {

inline void SetNodeNumber(QTreeWidgetItem *node, int number) {
    node->setData(0, Qt::UserRole, number);
}
inline int NodeNumber(const QTreeWidgetItem *node) {
    return node->data(0, Qt::UserRole).toInt();
}

inline void SetNodeImages(QTreeWidgetItem *node, int image, int selected) {
    node->setData(0, Qt::UserRole + 1, image);
    node->setData(0, Qt::UserRole + 2, selected);
}
inline int NodeImage(const QTreeWidgetItem *node) {
    return node->data(0, Qt::UserRole + 1).toInt();
}
inline int NodeSelectedImage(const QTreeWidgetItem *node) {
    return node->data(0, Qt::UserRole + 2).toInt();
}

// Nodes nest at most this deep: the tree control lays expanded nodes out recursively, so a
// deeper chain (a broken or hostile file) would overflow the stack.
inline constexpr int MaxNodeDepth = 256;

inline void SetNodeDepth(QTreeWidgetItem *node, int depth) {
    node->setData(0, Qt::UserRole + 3, depth);
}
inline int NodeDepth(const QTreeWidgetItem *node) {
    return node->data(0, Qt::UserRole + 3).toInt();
}

} // namespace project
