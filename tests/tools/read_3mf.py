# Reads a 3MF package with zipfile and an XML parser, apart from the library that wrote it,
# and prints what the tool's tests check as JSON: the package's parts, the model's unit, name
# and metadata, and per object whether its mesh is closed and manifold, whether each vertex's
# neighbourhood is one disc, how many parts and its volume.
import json
import sys
import xml.etree.ElementTree as ET
import zipfile

CORE = "{http://schemas.microsoft.com/3dmanufacturing/core/2015/02}"
RELS = "{http://schemas.openxmlformats.org/package/2006/relationships}"
TYPES = "{http://schemas.openxmlformats.org/package/2006/content-types}"
MODEL_TYPE = "http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel"

package = zipfile.ZipFile(sys.argv[1])
types = ET.fromstring(package.read("[Content_Types].xml"))
defaults = {d.get("Extension").lower(): d.get("ContentType") for d in types.iter(TYPES + "Default")}
rels = ET.fromstring(package.read("_rels/.rels"))
targets = [r.get("Target") for r in rels.iter(RELS + "Relationship") if r.get("Type") == MODEL_TYPE]
model = ET.fromstring(package.read(targets[0].lstrip("/")))


def signed_volume(a, b, c):
    return (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0])
            + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6


objects = []
for obj in model.iter(CORE + "object"):
    vertices = [tuple(float(v.get(k)) for k in "xyz") for v in obj.iter(CORE + "vertex")]
    triangles = [tuple(int(t.get(k)) for k in ("v1", "v2", "v3")) for t in obj.iter(CORE + "triangle")]
    edges = {}
    for t in triangles:
        for i in range(3):
            edge = (t[i], t[(i + 1) % 3])
            edges[edge] = edges.get(edge, 0) + 1
    # Closed: every directed edge matched by its reverse as often; manifold: each just once.
    closed = all(edges.get((b, a)) == n for (a, b), n in edges.items())
    manifold = closed and all(n == 1 for n in edges.values())
    # Discs: the edges facing a vertex in its triangles (from the next corner to the one
    # after) run round it in one cycle, none twice.
    links = {}
    for t in triangles:
        for i in range(3):
            links.setdefault(t[i], []).append((t[(i + 1) % 3], t[(i + 2) % 3]))

    def one_cycle(pairs):
        following = dict(pairs)
        if len(following) != len(pairs):
            return False
        start = pairs[0][0]
        v, steps = start, 0
        while steps < len(pairs) and v in following:
            v, steps = following[v], steps + 1
            if v == start:
                break
        return v == start and steps == len(pairs)

    discs = all(one_cycle(pairs) for pairs in links.values())
    # Parts: triangles joined by shared corners; each part's volume must be positive
    # (outward normals), as each part is closed on its own.
    root = list(range(len(vertices)))

    def find(v):
        while root[v] != v:
            root[v] = root[root[v]]
            v = root[v]
        return v

    for t in triangles:
        root[find(t[1])] = find(t[0])
        root[find(t[2])] = find(t[0])
    volumes = {}
    for t in triangles:
        part = find(t[0])
        volumes[part] = volumes.get(part, 0) + signed_volume(*(vertices[k] for k in t))
    objects.append({"name": obj.get("name"), "type": obj.get("type"), "closed": closed, "manifold": manifold, "discs": discs,
                    "triangles": len(triangles), "parts": len(volumes),
                    "smallestPartVolume": min(volumes.values()), "volume": sum(volumes.values())})

print(json.dumps({
    "modelType": defaults.get("model"),
    "relsType": defaults.get("rels"),
    "targets": targets,
    "unit": model.get("unit"),
    "application": "".join(m.text or "" for m in model.iter(CORE + "metadata") if m.get("name") == "Application"),
    "objects": objects,
    "items": [i.get("objectid") for i in model.iter(CORE + "item")],
}))
