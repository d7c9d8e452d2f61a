#include "widgets/CLabel.h"

#include <QPainter>

CLabel::CLabel(QWidget* parent)
    : QLabel(parent)
{
}

void CLabel::SetValue(int index, int value)
{
    if (index >= 0 && index < BarGraph::BARS)
        m_values[size_t(index)] = value;
}

int CLabel::Value(int index) const
{
    return index >= 0 && index < BarGraph::BARS ? m_values[size_t(index)] : 0;
}

void CLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::blue);
    for (int p = 0; p < BarGraph::BARS; ++p) {
        const int top = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * m_values[size_t(p)];
        for (int x = BarGraph::PIXELS_PER_UNIT * p; x < BarGraph::PIXELS_PER_UNIT * (p + 1); ++x)
            painter.drawLine(x, BarGraph::BASE_LINE, x, top);
    }
}
