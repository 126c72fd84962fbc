// Vorn's editor operations: building the layout and switching the views.
#include "editor/igraphics.h"
#include "product/vorn.h"
#include "product/editor/editor_images.h"

void Vorn::BuildEditor() {
  RegisterEditorImages();
  if (IGraphics* editor = GetGraphics()) mEditorLayout.Build(*editor, *this, *this);
}

void Vorn::SwitchView() { mEditorLayout.SwitchView(GetGraphics(), *this); }
