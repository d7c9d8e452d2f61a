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
    // A bar from its top down to the base line, both rows included.
    for (int p = 0; p < BarGraph::BARS; ++p) {
        const int top = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * m_values[size_t(p)];
        painter.fillRect(BarGraph::PIXELS_PER_UNIT * p, top, BarGraph::PIXELS_PER_UNIT, BarGraph::BASE_LINE - top + 1,
            Qt::blue);
    }
}
