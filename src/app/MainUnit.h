#pragma once
// TMainForm: the one main window. It owns the plot, the table, the tool
// windows, the pixel buffers and the settings, and routes every command.
// Handlers are declared here in blocks headed by the file that defines them.
#include <QMainWindow>

namespace quillmark {

class PlotChart;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    PlotChart* Chart = nullptr;
};

} // namespace quillmark
