// Point placement, coordinate readout and the front view's pop-up menu.
#include "editing/PointPlacement.h"

void ShowCoordinates(StatusBar& sbStatus, float x, float y, const QString& viewName) { (void)sbStatus; (void)x; (void)y; (void)viewName; }
QString PositionText(float x, float y) { (void)x; (void)y; return {}; }
void picFront_MouseMove(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void picFront_MouseUp(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void picFront_Click(EditingContext& ctx) { (void)ctx; }
void picTop_MouseMove(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void pic3dView_MouseMove(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void picContainer_MouseMove(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
