#pragma once

#include "GuiKitExport.h"
#include "widgets/BarGraph.h"

#include <QLabel>

#include <array>

// A label with a bar graph of 160 levels over its own contents, three pixels
// per bar in both directions: a level of 60 fills 180 pixels.
class GUIKIT_EXPORT CLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CLabel(QWidget* parent = nullptr);

    // Indices outside the graph are ignored.
    void SetValue(int index, int value);
    int Value(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<int, BarGraph::BARS> m_values {};
};
