// The progress of the users file's import.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class TFRMUsProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFRMUsProgress(QWidget *parent = nullptr);

    QLabel *Label1;
    QProgressBar *ProgressBar1; // 0 to 100
};
