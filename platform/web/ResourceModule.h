#pragma once
// Resource modules: binary resource bundles (rcc --binary) beside the program, loaded
// by plain file name and kept for the life of the process. The res scheme serves their
// content as res://<folder>/<module file>/<name>.
#include <QList>
#include <QString>

class TResourceModule {
public:
    // Loads <program folder>/<fileName>; never searches elsewhere. Returns the module (the
    // same one when it is loaded already), or nullptr when fileName is not a plain file
    // name, the file is missing or it is not a valid bundle.
    static TResourceModule* Load(const QString& fileName);
    // As Load, from the given folder (tests; helper programs with their own folder).
    static TResourceModule* LoadFromFolder(const QString& folder, const QString& fileName);
    // Every module loaded so far, in load order.
    static QList<TResourceModule*> Loaded();

    // Absolute path of the bundle file.
    const QString& FileName() const { return fileName_; }
    // The Qt resource folder where its content is mapped (":/..."), private to the module.
    const QString& Root() const { return root_; }

    TResourceModule(const TResourceModule&) = delete;
    TResourceModule& operator=(const TResourceModule&) = delete;

private:
    TResourceModule(QString fileName, QString root) : fileName_(std::move(fileName)), root_(std::move(root)) {}

    QString fileName_;
    QString root_;
};
