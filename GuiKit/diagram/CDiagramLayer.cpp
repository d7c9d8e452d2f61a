#include "diagram/CDiagramLayer.h"

#include "diagram/CQDiagramWidget.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>

CDiagramLayer::CDiagramLayer(CQDiagramWidget* diagram)
    : QWidget(diagram)
    , m_pDiagram(diagram)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(diagram->rect());
    diagram->installEventFilter(this);
    raise();
}

bool CDiagramLayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pDiagram && event->type() == QEvent::Resize)
        setGeometry(m_pDiagram->rect());
    if (watched == m_pDiagram && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = TextAt(help->pos());
        if (!text.isEmpty()) {
            QToolTip::showText(help->globalPos(), text, m_pDiagram);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
