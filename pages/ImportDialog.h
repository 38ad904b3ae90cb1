#pragma once

#include "import/Importer.h"

#include <QDialog>

class Application;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// The import of a spreadsheet chosen on the source page (CSV, TSV, XLSX): its first rows, what the
// import made of them, and fields for the teacher to say which column holds what and where the key
// is; every change imports again. OK writes the standard data file beside the spreadsheet, for the
// source page to select; Cancel leaves everything as it was.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(Application& app, const QString& sourcePath, QWidget* parent);
    ~ImportDialog() override;

    // The last import: failed with an empty preview when the file could not be read at all.
    const ImportResult& result() const { return result_; }
    // The data file OK wrote (or found already written), as the system writes paths.
    const QString& dataFilePath() const { return written_; }

    QLabel* lblTitle;
    QTableWidget* tblPreview;
    QLabel* lblLayout;
    QLabel* lblSheet;
    QComboBox* cboSheet; // a workbook's sheets, shown when it has more than one
    QLineEdit* txtIdColumn;
    QLineEdit* txtNameColumns;
    QLineEdit* txtAnswerColumns;
    QLineEdit* txtKeyRow;
    QLineEdit* txtKey;
    QLineEdit* txtRoomColumn;
    QLineEdit* txtFormColumn;
    QLabel* lblError;
    QPlainTextEdit* txtSummary;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void accept() override;

private:
    // The fields the teacher may change, in their order on the dialog.
    QList<QLineEdit*> fields() const
    {
        return {txtIdColumn, txtNameColumns, txtAnswerColumns, txtKeyRow,
                txtKey,      txtRoomColumn,  txtFormColumn};
    }
    // Takes what the teacher changed into the overrides and imports again; nothing when nothing
    // changed. A field that names no column is reported and nothing is imported.
    void fieldsEdited();
    // Imports another sheet of the workbook afresh: its columns and key are its own.
    void sheetChosen(int index);
    void runImport();
    void showResult();
    void showError(const QString& error);
    // Writes the data file where it belongs, at `path`; on failure `reason` says why, in Thai.
    bool writeDataFile(QString& path, QString& reason);

    Application& app;
    QString source_;
    ImportOverrides overrides_;
    ImportResult result_;
    QString written_;
};
