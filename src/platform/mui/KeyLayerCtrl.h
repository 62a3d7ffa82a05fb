// KeyLayerCtrl: the FN-layer selector of the key pages, a row of segments, each naming one
// layer of the keyboard (layer 0 the base layer, 1..8 the FN layers). It starts with two
// segments, layer 0 and layer 1, whose texts the program sets; more can be added. A click on a
// segment of another layer selects it and sends kNotifyClick with the layer id. The picture
// (SetImage) is drawn at the left of the row as the selector's mark.
//
// Threads: every operation may be called from any thread (the keyboard's own layer switches
// arrive on the worker).
#pragma once

#include <QRectF>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class KeyLayerCtrl : public MControl {
public:
    static constexpr int kMaxLayer = 8;

    KeyLayerCtrl();

    // Appends a segment for a layer 0..kMaxLayer; returns its index, -1 for a bad layer or one
    // already shown.
    int AddItem(int layerId, std::wstring_view text);
    int GetItemCount() const;
    bool SetItemText(int index, std::wstring_view text);
    std::wstring GetItemText(int index) const;
    // The layer of segment `index`, -1 out of range.
    int GetItemLayer(int index) const;

    // The selected layer. Any layer 0..kMaxLayer may be selected, also one without a segment
    // of its own (the keyboard may switch to any FN layer); other values change nothing.
    int GetSelectKeyLayerID() const;
    bool SetSelectKeyLayer(int layerId);

    // The segment under a point of the control, -1 for none.
    int ItemFromPoint(int x, int y) const;

protected:
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;

private:
    struct Item {
        int layer;
        std::wstring text;
    };
    // Lock held: the segment's box in the control.
    QRectF ItemBox(int index) const;
    int MarkWidth() const;  // lock held

    std::vector<Item> items_;
    int selected_ = 0;
};

}  // namespace MUI
