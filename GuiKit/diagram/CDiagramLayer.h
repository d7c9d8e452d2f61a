#pragma once

#include "GuiKitExport.h"

#include <QString>
#include <QWidget>

class CQDiagramWidget;

// A layer of its own over a diagram, for marks the diagram does not draw
// itself (notes, bands over a baseline): the diagram draws as it always
// did. The layer lets the mouse through, follows the diagram's size,
// repaints with it and shows in the diagram's tooltip what lies under the
// pointer.
class GUIKIT_EXPORT CDiagramLayer : public QWidget
{
    Q_OBJECT

public:
    explicit CDiagramLayer(CQDiagramWidget* diagram);

    // What the tooltip shows at a point of the diagram; empty for none.
    virtual QString TextAt(const QPoint& pos) const = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    CQDiagramWidget* Diagram() const { return m_pDiagram; }

private:
    CQDiagramWidget* m_pDiagram;
};
