#pragma once

#include "app/dialogue_files.h"
#include "base/codepage.h"

#include <QDialog>

class QPlainTextEdit;

namespace zev {

// "Parse error log": the accumulated error entries of a load, in one text box without word wrap.
class ParseErrorLog : public QDialog, public ParseErrorLogView {
public:
    explicit ParseErrorLog(TextEncoding encoding, QWidget* parent = nullptr);
    void Show(const std::string& text) override;
    QString Text() const;

private:
    TextEncoding m_encoding;
    QPlainTextEdit* m_text;
};

} // namespace zev
