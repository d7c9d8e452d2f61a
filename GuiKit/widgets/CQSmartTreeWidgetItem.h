#pragma once

#include "GuiKitExport.h"

#include <QTreeWidgetItem>

// A list row that sorts each column in its natural order: day stamps and
// times of day as times, numbers as numbers, everything else as text.
class GUIKIT_EXPORT CQSmartTreeWidgetItem : public QTreeWidgetItem
{
public:
    CQSmartTreeWidgetItem();
    CQSmartTreeWidgetItem(const CQSmartTreeWidgetItem& other);
    CQSmartTreeWidgetItem& operator=(const CQSmartTreeWidgetItem& other);
    ~CQSmartTreeWidgetItem() override;

    bool operator<(const QTreeWidgetItem& other) const override;

    // The ordering itself, for any two texts of one column.
    static bool Less(const QString& a, const QString& b);
};
