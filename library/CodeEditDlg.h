// The snippet dialog "代码编辑": a snippet's title and content, both required.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CCodeEditDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxTitleLength = 100;

    explicit CCodeEditDlg(QWidget* parent = nullptr);

    // The values shown when the dialog opens, and after OK the values as typed.
    void SetTitle(const QString& title);
    void SetContent(const QString& content);
    const QString& GetTitle() const { return m_strTitle; }
    const QString& GetContent() const { return m_strContent; }

    QLineEdit* TitleField() const { return m_pTitle; }
    QPlainTextEdit* ContentField() const { return m_pContent; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

    static QString TooLongText();
    static QString IncompleteText();

public slots:
    // OK: a title over 100 characters, or a title or content of blanks only, is
    // refused with a message and the dialog stays open.
    void accept() override;

private:
    void LimitTitle();

    QLineEdit* m_pTitle;
    QPlainTextEdit* m_pContent;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    QString m_strTitle;
    QString m_strContent;
};
