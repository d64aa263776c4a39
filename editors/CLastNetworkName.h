#pragma once

#include <QString>

// The name of the network last commissioned, kept in the user's state folder so that the
// next run starts on the same network.
class CLastNetworkName {
public:
    // The state folder as the session tells it: $XDG_STATE_HOME/zav7305, or
    // ~/.local/state/zav7305 when the variable is unset or not an absolute path.
    CLastNetworkName();
    explicit CLastNetworkName(QString filePath);

    // Empty when no name was kept or the file cannot be read.
    QString Load() const;
    // False when the file cannot be written; the name then lasts for this run only.
    bool Save(const QString& name) const;

    const QString& FilePath() const { return filePath; }
    // The folder itself; empty when the session tells none.
    static QString StateFolder();

private:
    QString filePath;
};
