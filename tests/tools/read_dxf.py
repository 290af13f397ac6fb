# Reads a DXF file with ezdxf, as a CAD user's script would, and prints what the tool's tests
# check as JSON: the polylines (layers, closed, vertices) and the 3D lines of the model space.
import json
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
space = doc.modelspace()
print(json.dumps({
    "version": doc.dxfversion,
    "polylines": [{"layer": "/".join(sorted({p.dxf.layer} | {v.dxf.layer for v in p.vertices})), "closed": p.is_closed,
                   "vertices": [list(v.dxf.location) for v in p.vertices]}
                  for p in space.query("POLYLINE")],
    "lines": [[list(l.dxf.start), list(l.dxf.end)] for l in space.query("LINE")],
    "lineLayers": "/".join(sorted({l.dxf.layer for l in space.query("LINE")})),
    "others": len(space) - len(space.query("POLYLINE LINE")),
}))
