#include "overview/COverviewWindow.h"

#include "app/ClientSettingsKeys.h"
#include "overview/COverviewPanel.h"

#include <QEvent>
#include <QSettings>
#include <QVBoxLayout>

COverviewWindow::COverviewWindow(COverviewModel* model, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_pPanel(new COverviewPanel(model, this))
{
    setObjectName(QStringLiteral("COverviewWindow"));
    setWindowTitle(tr("Overview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pPanel);
    resize(960, 420);
    restoreGeometry(QSettings().value(ClientSettingsKeys::OVERVIEW_GEOMETRY).toByteArray());
}

COverviewWindow::~COverviewWindow()
{
    QSettings().setValue(ClientSettingsKeys::OVERVIEW_GEOMETRY, saveGeometry());
}

void COverviewWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(tr("Overview"));
    QWidget::changeEvent(event);
}
