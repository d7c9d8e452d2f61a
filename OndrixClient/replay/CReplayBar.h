#pragma once

#include <QFrame>

#include <memory>

class CReplayPlayer;

namespace Ui {
class CReplayBar;
}

// The controls of a replay above the realtime diagram: play and pause, the
// speed, a slider over the file's time with the moment shown, and the end
// of the replay.
class CReplayBar : public QFrame
{
    Q_OBJECT

public:
    // The player is only borrowed and must outlive the bar.
    CReplayBar(CReplayPlayer* player, const QString& fileName, QWidget* parent = nullptr);
    ~CReplayBar() override;

    static QString TimeText(quint64 time);

Q_SIGNALS:
    void closeRequested();
    void languageChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnPlayButtonClicked();
    void OnSpeedComboActivated(int index);
    void OnSeekSliderMoved(int value);
    void OnSeekSliderValueChanged(int value);
    void OnSeekSliderReleased();
    void OnPlayerPositionChanged(qint64 seconds);
    void ShowTexts();

    std::unique_ptr<Ui::CReplayBar> m_pUi;
    CReplayPlayer* m_pPlayer;
    QString m_strName;
};
