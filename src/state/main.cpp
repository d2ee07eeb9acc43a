// orvando-state [FOLDER]: prints the caption the window would show for the
// game folder (the current directory by default), or the "File error" box's
// title and text, by running the window's load event on a view that prints.
// Renames nothing.
#include <cstdio>
#include <string>

#include "app/frm_music.h"

namespace {

class PrintingView final : public orvando::View {
  public:
    void setWidth(float) override {}
    void setCaption(const std::string& caption) override { std::printf("%s\n", caption.c_str()); }
    void setButtonVisible(orvando::ActionButton, bool) override {}
    void setButtonEnabled(orvando::ActionButton, bool) override {}
    void setVisible(bool) override {}
    void msgBox(const std::string& prompt, orvando::MsgBoxStyle,
                const std::string& title) override {
        std::printf("%s: %s\n", title.c_str(), prompt.c_str());
    }
    void end(int exitStatus) override { status = exitStatus; }
    int status = 0;
};

}  // namespace

int main(int argc, char** argv) {
    auto files = orvando::makeSystemFileServices(argc > 1 ? argv[1] : "");
    PrintingView view;
    orvando::frmMusic(view, *files).Form_Load();
    return view.status;
}
