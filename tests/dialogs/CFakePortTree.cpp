#include "CFakePortTree.h"

#include <QDir>
#include <QFile>

namespace {

CPortDirectory::Roots RootsIn(const QTemporaryDir& root) {
    CPortDirectory::Roots roots;
    roots.sysClassTty = root.filePath(QStringLiteral("sys")).toStdString();
    roots.dev = root.filePath(QStringLiteral("dev")).toStdString();
    roots.runtime = root.filePath(QStringLiteral("run")).toStdString();
    return roots;
}

}  // namespace

CFakePortTree::CFakePortTree() : directory(RootsIn(root)) {
    const QDir dir(root.path());
    valid = root.isValid() && dir.mkpath(QStringLiteral("sys")) &&
            dir.mkpath(QStringLiteral("dev")) && dir.mkpath(QStringLiteral("run")) &&
            QFile::setPermissions(root.filePath(QStringLiteral("run")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool CFakePortTree::AddTty(const QString& name) {
    const QDir dir(root.path());
    QFile node(root.filePath(QStringLiteral("dev/") + name));
    return dir.mkpath(QStringLiteral("sys/") + name + QStringLiteral("/device")) &&
           node.open(QIODevice::WriteOnly);
}

bool CFakePortTree::RemoveTty(const QString& name) {
    QDir entry(root.filePath(QStringLiteral("sys/") + name));
    return entry.removeRecursively() && QFile::remove(root.filePath(QStringLiteral("dev/") + name));
}
