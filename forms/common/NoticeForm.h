#pragma once

#include "ControlTable.h"
#include "notice/NoticeRecord.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <optional>
#include <string_view>

namespace forms {

// Form kinds as the notice list names them.
inline constexpr int kSoundForm = 1;
inline constexpr int kTvForm = 2;

// One loaded entry form: the widgets its control table names, reached by control name.
// Escape does nothing and closing the window unloads the form.
class NoticeForm : public QDialog {
public:
    NoticeForm(int kind, const ControlTable& controls, QWidget* parent = nullptr);

    int kind() const { return m_kind; }
    const ControlTable& controls() const { return m_controls; }
    bool isUnloaded() const { return m_unloaded; }

    /// The control named `name`, or nullptr when this form has none (or it is not a W).
    template <class W>
    W* control(std::string_view name) const
    {
        return qobject_cast<W*>(m_byName.value(QString::fromUtf8(name.data(), qsizetype(name.size()))));
    }
    QWidget* control(std::string_view name) const { return control<QWidget>(name); }

    /// The record the form was last filled from, or nullptr.
    const notice::NoticeRecord* shownRecord() const { return m_shown ? &*m_shown : nullptr; }
    /// Keeps `rec` as the record the form was filled from.
    void setShownRecord(const notice::NoticeRecord& rec) { m_shown = rec; }

    /// Ends the form: a modal show returns, the form hides and is not shown again.
    void unload();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int m_kind;
    const ControlTable& m_controls;
    QHash<QString, QWidget*> m_byName;
    bool m_unloaded = false;
    std::optional<notice::NoticeRecord> m_shown;
};

/// The caption a control shows: a label's or button's text, a frame's title.
QString captionOf(const QWidget* control);
/// Sets that caption.
void setCaption(QWidget* control, const QString& caption);

}  // namespace forms
