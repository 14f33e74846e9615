#pragma once

#include "recordform.h"

#include <QPixmap>

class FieldEdit;
class QPushButton;
class QTabWidget;

// `UpdateGCU_POK`: one door unit of the rooms (GCU_POK). Every field of the unit has an entry;
// the values are stored as typed (the hints beside some entries are only hints). The unit
// number GCP:ID_GCU is the unique key: a number used by another unit is refused. Renumbering a
// unit carries the new number into LPO:CTECKA of its log entries and deleting it sets theirs to
// 0 (the relation rules of GCU_POK). Ctrl+H works in every entry.
class UpdateGCU_POK : public RecordForm
{
    Q_OBJECT

public:
    explicit UpdateGCU_POK(DataContext &context, QWidget *parent = nullptr);

    // The entry of a field of GCU_POK (GCP::ID_GCU...).
    FieldEdit *entry(int field) const;
    QTabWidget *sheet() const { return m_sheet; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *stornoButton() const { return m_storno; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTabWidget *m_sheet = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_storno = nullptr;
    QPixmap m_wallpaper;
};
