#pragma once

#include "files/NOTE.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CNoteDialog;
}

// Asks for a note at a moment of the sweep: the moment shows, the text is
// typed. A text that cannot be a note (CNoteCodec::Refusal) is told in the
// dialog, which stays open with the text as it was.
class CNoteDialog : public QDialog
{
    Q_OBJECT

public:
    CNoteDialog(quint64 timeMs, QWidget* parent = nullptr);
    ~CNoteDialog() override;

    NOTE Note() const;
    void SetText(const QString& text);
    QString Error() const;

    void accept() override;

private:
    std::unique_ptr<Ui::CNoteDialog> m_pUi;
    quint64 m_nTimeMs;
};
