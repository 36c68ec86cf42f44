#pragma once

#include <QDialog>

namespace velnor {

// "バージョン情報": the program's icon, its name and version, and the authors' notice.
class VersionBox : public QDialog {
public:
    explicit VersionBox(QWidget* parent);
};

} // namespace velnor
