# Builds every model under TestData/Models from scratch.
#
#   blender -b --factory-startup --python TestData/make_models.py
#
# The outputs are committed, so neither the build nor the tests need Blender.
# Everything here is fixed geometry and fixed keys; the FBX header timestamp is
# pinned as well, so running the script again reproduces the same files.
#
# Conventions: Blender units are metres, Z is up and every creature faces +Y,
# which puts its left side on -X. The FBX exporter writes centimetres, so a
# 1.7 m figure here reads as 170 units once imported.

import datetime
import functools
import hashlib
import math
import os

import bmesh
import bpy
from mathutils import Matrix, Quaternion, Vector

bpy.ops.wm.read_factory_settings(use_empty=True)

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "Models")
FPS = 30

# The exporter stamps the current time into the header; pin it so that a
# rebuild does not show up as a binary change in every file.
from io_scene_fbx import export_fbx_bin, fbx_utils  # noqa: E402

export_fbx_bin.fbx_header_elements = functools.partial(
    export_fbx_bin.fbx_header_elements, time=datetime.datetime(2024, 1, 1, 0, 0, 0)
)

# Object ids are derived from Python's string hash, which changes from one
# Blender run to the next. Derive them from a digest of the same key instead.
_key_to_uuid = fbx_utils._key_to_uuid


def _stable_key_to_uuid(uuids, key):
    digest = hashlib.sha1(repr(key).encode("utf-8")).digest()
    return _key_to_uuid(uuids, int.from_bytes(digest[:8], "little") >> 1)


fbx_utils._key_to_uuid = _stable_key_to_uuid


# ---------------------------------------------------------------------------
# Geometry helpers. A model is a list of parts; each part is a closed solid
# that belongs to exactly one bone, which is also how it gets skinned.
# ---------------------------------------------------------------------------

class Builder:
    def __init__(self):
        self.bm = bmesh.new()
        self.parts = []  # (bone name, list of vertex indices)

    def _track(self, bone, verts):
        self.bm.verts.index_update()
        self.parts.append((bone, [v.index for v in verts]))

    def box(self, bone, lo, hi):
        """Axis-aligned box between the corners lo and hi."""
        lo, hi = Vector(lo), Vector(hi)
        size = hi - lo
        centre = (lo + hi) / 2
        mat = Matrix.Translation(centre) @ Matrix.Diagonal((size.x, size.y, size.z, 1.0))
        res = bmesh.ops.create_cube(self.bm, size=1.0, matrix=mat)
        self._track(bone, res["verts"])

    def cylinder(self, bone, a, b, radius, segments=12):
        """Capped cylinder whose axis runs from point a to point b."""
        a, b = Vector(a), Vector(b)
        axis = b - a
        rot = axis.to_track_quat("Z", "Y").to_matrix().to_4x4()
        mat = Matrix.Translation((a + b) / 2) @ rot
        res = bmesh.ops.create_cone(
            self.bm, cap_ends=True, cap_tris=False, segments=segments,
            radius1=radius, radius2=radius, depth=axis.length, matrix=mat)
        self._track(bone, res["verts"])

    def make_object(self, name):
        mesh = bpy.data.meshes.new(name)
        self.bm.to_mesh(mesh)
        self.bm.free()
        mesh.validate()
        obj = bpy.data.objects.new(name, mesh)
        bpy.context.scene.collection.objects.link(obj)
        return obj


def mirror(points, side):
    """Return points with X flipped for side 'Right' (left side is -X)."""
    s = 1.0 if side == "Left" else -1.0
    return tuple((s * p[0], p[1], p[2]) for p in points)


def box_x(lo, hi, side):
    """A box given for the left side, mirrored to the requested side."""
    (lo, hi) = mirror((lo, hi), side)
    return (min(lo[0], hi[0]), lo[1], lo[2]), (max(lo[0], hi[0]), hi[1], hi[2])


# ---------------------------------------------------------------------------
# Models. Each function returns (mesh builder, bones) where bones is an ordered
# list of (name, head, tail, parent). Every bone owns at least one part, so
# every bone carries weights.
# ---------------------------------------------------------------------------

def humanoid():
    g = Builder()
    bones = [
        ("Hips", (0, 0, 0.95), (0, 0, 1.05), None),
        ("Spine", (0, 0, 1.05), (0, 0, 1.20), "Hips"),
        ("Chest", (0, 0, 1.20), (0, 0, 1.42), "Spine"),
        ("Neck", (0, 0, 1.42), (0, 0, 1.52), "Chest"),
        ("Head", (0, 0, 1.52), (0, 0, 1.70), "Neck"),
    ]
    # Torso and head.
    g.box("Hips", (-0.16, -0.10, 0.86), (0.16, 0.10, 1.02))
    g.box("Spine", (-0.14, -0.10, 1.02), (0.14, 0.10, 1.18))
    g.box("Chest", (-0.15, -0.11, 1.18), (0.15, 0.11, 1.40))
    g.cylinder("Neck", (0, 0, 1.40), (0, 0, 1.53), 0.05)
    g.box("Head", (-0.09, -0.10, 1.52), (0.09, 0.10, 1.70))
    g.box("Head", (-0.02, 0.10, 1.58), (0.02, 0.12, 1.63))  # nose, marks the front
    for side in ("Left", "Right"):
        s = -1.0 if side == "Left" else 1.0
        bones += [
            (side + "Shoulder", (s * 0.03, 0, 1.40), (s * 0.18, 0, 1.40), "Chest"),
            (side + "Arm", (s * 0.20, 0, 1.40), (s * 0.20, 0, 1.08), side + "Shoulder"),
            (side + "ForeArm", (s * 0.20, 0, 1.08), (s * 0.20, 0, 0.80), side + "Arm"),
            (side + "Hand", (s * 0.20, 0, 0.80), (s * 0.20, 0, 0.66), side + "ForeArm"),
            (side + "UpLeg", (s * 0.09, 0, 0.92), (s * 0.09, 0, 0.50), "Hips"),
            (side + "Leg", (s * 0.09, 0, 0.50), (s * 0.09, 0, 0.07), side + "UpLeg"),
            (side + "Foot", (s * 0.09, 0, 0.07), (s * 0.09, 0.16, 0.03), side + "Leg"),
        ]
        g.box(side + "Shoulder", *box_x((-0.13, -0.07, 1.35), (-0.25, 0.07, 1.46), side))
        g.cylinder(side + "Arm", (s * 0.20, 0, 1.36), (s * 0.20, 0, 1.07), 0.05)
        g.cylinder(side + "ForeArm", (s * 0.20, 0, 1.08), (s * 0.20, 0, 0.79), 0.042)
        g.box(side + "Hand", *box_x((-0.175, -0.04, 0.66), (-0.225, 0.04, 0.80), side))
        g.cylinder(side + "UpLeg", (s * 0.09, 0, 0.92), (s * 0.09, 0, 0.49), 0.07)
        g.cylinder(side + "Leg", (s * 0.09, 0, 0.50), (s * 0.09, 0, 0.06), 0.055)
        g.box(side + "Foot", *box_x((-0.04, -0.06, 0.0), (-0.14, 0.19, 0.07), side))
    return g, bones


def quadruped():
    g = Builder()
    bones = [
        ("Pelvis", (0, -0.24, 0.40), (0, -0.10, 0.40), None),
        ("Spine", (0, -0.10, 0.40), (0, 0.05, 0.40), "Pelvis"),
        ("Chest", (0, 0.05, 0.40), (0, 0.20, 0.40), "Spine"),
        ("Neck", (0, 0.20, 0.44), (0, 0.30, 0.52), "Chest"),
        ("Head", (0, 0.30, 0.52), (0, 0.48, 0.54), "Neck"),
        ("Tail", (0, -0.30, 0.41), (0, -0.50, 0.41), "Pelvis"),
    ]
    g.box("Pelvis", (-0.13, -0.31, 0.30), (0.13, -0.10, 0.48))
    g.box("Spine", (-0.12, -0.10, 0.31), (0.12, 0.05, 0.48))
    g.box("Chest", (-0.13, 0.05, 0.30), (0.13, 0.25, 0.48))
    g.box("Neck", (-0.06, 0.20, 0.40), (0.06, 0.32, 0.53))
    g.box("Head", (-0.07, 0.29, 0.48), (0.07, 0.42, 0.60))
    g.box("Head", (-0.045, 0.42, 0.49), (0.045, 0.50, 0.56))  # muzzle
    g.box("Tail", (-0.025, -0.50, 0.38), (0.025, -0.30, 0.44))
    for end, y, parent in (("Front", 0.17, "Chest"), ("Back", -0.22, "Pelvis")):
        for side in ("Left", "Right"):
            x = -0.10 if side == "Left" else 0.10
            name = end + side
            bones += [
                (name + "Upper", (x, y, 0.36), (x, y, 0.17), parent),
                (name + "Lower", (x, y, 0.17), (x, y, 0.0), name + "Upper"),
            ]
            g.cylinder(name + "Upper", (x, y, 0.36), (x, y, 0.16), 0.05)
            g.cylinder(name + "Lower", (x, y, 0.17), (x, y, 0.0), 0.04)
    return g, bones


def bird():
    g = Builder()
    bones = [
        ("Root", (0, 0, 0), (0, 0, 0.10), None),
        ("Body", (0, -0.08, 0.17), (0, 0.10, 0.17), "Root"),
        ("Neck", (0, 0.09, 0.19), (0, 0.13, 0.24), "Body"),
        ("Head", (0, 0.13, 0.24), (0, 0.26, 0.26), "Neck"),
        ("Tail", (0, -0.08, 0.17), (0, -0.14, 0.165), "Body"),
    ]
    for side in ("Left", "Right"):
        s = -1.0 if side == "Left" else 1.0
        bones += [
            (side + "Wing", (s * 0.06, 0, 0.20), (s * 0.24, 0, 0.20), "Body"),
            (side + "WingTip", (s * 0.24, 0, 0.20), (s * 0.40, 0, 0.20), side + "Wing"),
        ]
        g.box(side + "Wing", *box_x((-0.06, -0.07, 0.19), (-0.24, 0.08, 0.21), side))
        g.box(side + "WingTip", *box_x((-0.24, -0.05, 0.193), (-0.40, 0.05, 0.207), side))
        g.cylinder("Root", (s * 0.035, 0, 0.0), (s * 0.035, 0, 0.11), 0.008, segments=6)
    g.box("Body", (-0.07, -0.09, 0.10), (0.07, 0.11, 0.23))
    g.box("Neck", (-0.04, 0.08, 0.18), (0.04, 0.15, 0.25))
    g.box("Head", (-0.045, 0.11, 0.22), (0.045, 0.21, 0.30))
    g.box("Head", (-0.012, 0.21, 0.245), (0.012, 0.26, 0.265))  # beak
    g.box("Tail", (-0.05, -0.14, 0.155), (0.05, -0.08, 0.175))
    return g, bones


def frog():
    g = Builder()
    bones = [
        ("Root", (0, 0, 0), (0, 0.06, 0), None),
        ("Body", (0, -0.06, 0.05), (0, 0.06, 0.05), "Root"),
        ("Head", (0, 0.06, 0.055), (0, 0.12, 0.06), "Body"),
    ]
    g.box("Root", (-0.04, -0.05, 0.012), (0.04, 0.04, 0.022))  # belly
    g.box("Body", (-0.06, -0.07, 0.02), (0.06, 0.07, 0.08))
    g.box("Head", (-0.05, 0.06, 0.03), (0.05, 0.12, 0.08))
    for side in ("Left", "Right"):
        s = -1.0 if side == "Left" else 1.0
        bones += [
            ("Front" + side + "Leg", (s * 0.05, 0.05, 0.04), (s * 0.06, 0.07, 0.0), "Body"),
            ("Back" + side + "Thigh", (s * 0.05, -0.05, 0.03), (s * 0.09, -0.03, 0.02), "Body"),
            ("Back" + side + "Shin", (s * 0.09, -0.03, 0.02), (s * 0.085, -0.12, 0.01), "Back" + side + "Thigh"),
        ]
        g.box("Front" + side + "Leg", *box_x((-0.045, 0.04, 0.0), (-0.07, 0.08, 0.045), side))
        g.box("Back" + side + "Thigh", *box_x((-0.05, -0.07, 0.005), (-0.10, -0.01, 0.045), side))
        g.box("Back" + side + "Shin", *box_x((-0.07, -0.13, 0.0), (-0.10, -0.03, 0.02), side))
        g.box("Head", *box_x((-0.025, 0.085, 0.08), (-0.045, 0.105, 0.10), side))  # eye
    return g, bones


def pole():
    """A post with an arm, its bones named the way Blender names them when
    nobody renames them: numbered duplicates, a blank, a namespace."""
    g = Builder()
    bones = [
        ("Bone", (0, 0, 0), (0, 0, 0.4), None),
        ("Bone.001", (0, 0, 0.4), (0, 0, 0.8), "Bone"),
        ("Bone.002", (0, 0, 0.8), (0, 0, 1.2), "Bone.001"),
        ("Upper Arm", (0, 0, 1.0), (-0.3, 0, 1.0), "Bone.002"),
        ("rig:Hand", (-0.3, 0, 1.0), (-0.4, 0, 1.0), "Upper Arm"),
    ]
    g.box("Bone", (-0.05, -0.05, 0.0), (0.05, 0.05, 0.4))
    g.box("Bone.001", (-0.05, -0.05, 0.4), (0.05, 0.05, 0.8))
    g.box("Bone.002", (-0.05, -0.05, 0.8), (0.05, 0.05, 1.2))
    g.box("Upper Arm", (-0.3, -0.03, 0.97), (-0.05, 0.03, 1.03))
    g.box("rig:Hand", (-0.4, -0.04, 0.96), (-0.3, 0.04, 1.04))
    return g, bones


def twins():
    """Two posts side by side, each with a root bone of its own under the one
    armature: a skeleton with two roots."""
    g = Builder()
    bones = [
        ("LeftPost", (-0.2, 0, 0), (-0.2, 0, 0.5), None),
        ("LeftTop", (-0.2, 0, 0.5), (-0.2, 0, 1.0), "LeftPost"),
        ("RightPost", (0.2, 0, 0), (0.2, 0, 0.5), None),
        ("RightTop", (0.2, 0, 0.5), (0.2, 0, 1.0), "RightPost"),
    ]
    for side, x in (("Left", -0.2), ("Right", 0.2)):
        g.box(side + "Post", (x - 0.05, -0.05, 0.0), (x + 0.05, 0.05, 0.5))
        g.box(side + "Top", (x - 0.05, -0.05, 0.5), (x + 0.05, 0.05, 1.0))
    return g, bones


# ---------------------------------------------------------------------------
# Rigging and animation.
# ---------------------------------------------------------------------------

def build_armature(bones):
    arm_data = bpy.data.armatures.new("Armature")
    arm = bpy.data.objects.new("Armature", arm_data)
    bpy.context.scene.collection.objects.link(arm)
    bpy.context.view_layer.objects.active = arm
    bpy.ops.object.mode_set(mode="EDIT")
    for name, head, tail, parent in bones:
        eb = arm_data.edit_bones.new(name)
        eb.head = head
        eb.tail = tail
        eb.roll = 0.0
        if parent:
            eb.parent = arm_data.edit_bones[parent]
    bpy.ops.object.mode_set(mode="OBJECT")
    return arm


def skin(obj, arm, parts):
    """Weight each part fully to its bone and bind the mesh to the armature."""
    for bone, indices in parts:
        vg = obj.vertex_groups.get(bone) or obj.vertex_groups.new(name=bone)
        vg.add(indices, 1.0, "REPLACE")
    obj.parent = arm
    mod = obj.modifiers.new("Armature", "ARMATURE")
    mod.object = arm


def set_frame_range(last):
    scene = bpy.context.scene
    scene.render.fps = FPS
    scene.render.fps_base = 1.0
    scene.frame_start = 1
    scene.frame_end = last


def key_rotation(arm, bone, frame, axis, degrees):
    """Key a rotation given about an armature-space axis, converted to the
    bone's local space (bones point in all directions, so their local axes
    differ)."""
    pb = arm.pose.bones[bone]
    rest = arm.data.bones[bone].matrix_local.to_3x3()
    world = Quaternion(Vector(axis), math.radians(degrees)).to_matrix()
    local = rest.inverted() @ world @ rest
    pb.rotation_mode = "QUATERNION"
    pb.rotation_quaternion = local.to_quaternion()
    pb.keyframe_insert("rotation_quaternion", frame=frame, group=bone)


def key_offset(arm, bone, frame, offset):
    """Key a translation given in armature space."""
    pb = arm.pose.bones[bone]
    rest = arm.data.bones[bone].matrix_local.to_3x3()
    pb.location = rest.inverted() @ Vector(offset)
    pb.keyframe_insert("location", frame=frame, group=bone)


def animate(arm, action_name, last, step, channels):
    """channels(t) -> list of ('rot', bone, axis, degrees) or
    ('loc', bone, (x, y, z)); t runs 0..1 over the clip. Keys every `step`
    frames and always on the last frame."""
    arm.animation_data_create()
    action = bpy.data.actions.new(action_name)
    arm.animation_data.action = action
    frames = list(range(1, last + 1, step))
    if frames[-1] != last:
        frames.append(last)
    for f in frames:
        t = (f - 1) / (last - 1)
        for ch in channels(t):
            if ch[0] == "rot":
                key_rotation(arm, ch[1], f, ch[2], ch[3])
            else:
                key_offset(arm, ch[1], f, ch[2])
    return action


X = (1, 0, 0)
Y = (0, 1, 0)
Z = (0, 0, 1)


def walk(t):
    # Three strides of one second each. Positive rotation about +X swings a
    # hanging limb forward (towards +Y).
    p = 2 * math.pi * 3 * t
    sw = math.sin(p)
    ch = [
        ("loc", "Hips", (0, 0, 0.02 * abs(math.cos(p)) - 0.02)),
        ("rot", "Hips", Z, 5 * sw),
        ("rot", "Chest", Z, -8 * sw),
        ("rot", "Head", X, 3 * math.sin(2 * p)),
    ]
    for side, sgn in (("Left", 1.0), ("Right", -1.0)):
        s = sgn * sw
        ch += [
            ("rot", side + "UpLeg", X, 25 * s),
            ("rot", side + "Leg", X, -30 * max(0.0, -sgn * math.cos(p))),
            ("rot", side + "Foot", X, 10 * s),
            ("rot", side + "Arm", X, -20 * s),
            ("rot", side + "ForeArm", X, 15 + 10 * max(0.0, -s)),
        ]
    return ch


def trot(t):
    # Three strides over two seconds; diagonal legs move together.
    p = 2 * math.pi * 3 * t
    sw = math.sin(p)
    ch = [
        ("loc", "Pelvis", (0, 0, 0.015 * abs(math.sin(p)))),
        ("rot", "Head", X, 5 * math.sin(2 * p)),
        ("rot", "Tail", Z, 15 * math.sin(p)),
    ]
    for leg, phase in (("FrontLeft", 1.0), ("BackRight", 1.0),
                       ("FrontRight", -1.0), ("BackLeft", -1.0)):
        s = phase * sw
        bend = 35 * max(0.0, phase * math.cos(p))
        # Front knees fold the foot backwards, hind hocks bring it forwards.
        knee = bend if leg.startswith("Back") else -bend
        ch += [
            ("rot", leg + "Upper", X, 25 * s),
            ("rot", leg + "Lower", X, knee),
        ]
    return ch


def flap(t):
    # Three wingbeats over a second and a half.
    p = 2 * math.pi * 3 * t
    up = math.cos(p)
    ch = [
        ("loc", "Body", (0, 0, -0.01 * up)),
        ("rot", "Tail", X, 6 * up),
        ("rot", "Head", X, -4 * up),
    ]
    for side, sgn in (("Left", 1.0), ("Right", -1.0)):
        # The left wing lies along -X, so a positive turn about +Y raises it;
        # the right wing needs the opposite turn. The tips trail the beat.
        ch += [
            ("rot", side + "Wing", Y, sgn * 40 * up),
            ("rot", side + "WingTip", Y, sgn * 20 * math.cos(p - 0.8)),
        ]
    return ch


def hop(t):
    # One second: crouch, push off, fly forward, land, settle.
    if t < 0.25:          # crouch
        air, crouch = 0.0, t / 0.25
    elif t < 0.70:        # airborne
        u = (t - 0.25) / 0.45
        air, crouch = u, 1.0 - min(1.0, u * 3)
    else:                 # landing and settling
        air, crouch = 1.0, max(0.0, 1.0 - abs(t - 0.80) / 0.10) * 0.6
    height = 0.08 * math.sin(math.pi * air) if 0.0 < air < 1.0 else 0.0
    ch = [
        ("loc", "Root", (0, 0.15 * air, height - 0.01 * crouch)),
        ("rot", "Body", X, 10 * math.sin(math.pi * air) - 5 * crouch),
        ("rot", "Head", X, -5 * math.sin(math.pi * air)),
    ]
    stretch = math.sin(math.pi * air)
    for side, sgn in (("Left", 1.0), ("Right", -1.0)):
        ch += [
            ("rot", "Back" + side + "Thigh", Z, sgn * (-20 * crouch + 35 * stretch)),
            ("rot", "Back" + side + "Shin", X, 50 * stretch - 20 * crouch),
            ("rot", "Front" + side + "Leg", X, 30 * stretch),
        ]
    return ch


def sway(t):
    # One second: the post leans and the arm waves.
    p = 2 * math.pi * t
    return [
        ("rot", "Bone.001", X, 10 * math.sin(p)),
        ("rot", "Bone.002", X, -10 * math.sin(p)),
        ("rot", "Upper Arm", Y, 20 * math.sin(2 * p)),
        ("rot", "rig:Hand", Y, 15 * math.sin(2 * p)),
    ]


def nod(t):
    # One second: both tops lean forward and back.
    p = 2 * math.pi * t
    return [
        ("rot", "LeftTop", X, 15 * math.sin(p)),
        ("rot", "RightTop", X, -15 * math.sin(p)),
    ]


# ---------------------------------------------------------------------------
# Export.
# ---------------------------------------------------------------------------

def export_fbx(name, objects, animated):
    bpy.ops.object.select_all(action="DESELECT")
    for o in objects:
        o.select_set(True)
    bpy.ops.export_scene.fbx(
        filepath=os.path.join(OUT, name),
        use_selection=True,
        object_types={o.type for o in objects},
        add_leaf_bones=False,
        use_armature_deform_only=False,
        bake_anim=animated,
        bake_anim_use_all_actions=False,
        bake_anim_use_nla_strips=False,
        bake_anim_force_startend_keying=True,
        path_mode="AUTO",
    )


def export_glb(name, obj):
    bpy.ops.object.select_all(action="DESELECT")
    obj.select_set(True)
    bpy.ops.export_scene.gltf(
        filepath=os.path.join(OUT, name),
        export_format="GLB",
        use_selection=True,
        export_animations=False,
        export_skins=False,
        export_materials="NONE",
        export_colors=False,
    )


def fresh_scene():
    bpy.ops.wm.read_factory_settings(use_empty=True)


def make_upload(title, maker, stem, glb):
    fresh_scene()
    g, _ = maker()
    obj = g.make_object(title)
    export_fbx(stem + "_mesh.fbx", [obj], animated=False)
    if glb:
        export_glb(stem + "_mesh.glb", obj)


def make_rigged(title, maker, filename, clip=None):
    """clip is (action name, last frame, key step, channel function) or None."""
    fresh_scene()
    g, bones = maker()
    parts = g.parts
    obj = g.make_object(title)
    arm = build_armature(bones)
    skin(obj, arm, parts)
    if clip:
        action_name, last, step, channels = clip
        # Without per-action export the take is named after the scene, so
        # give the scene the clip's name.
        bpy.context.scene.name = action_name
        set_frame_range(last)
        animate(arm, action_name, last, step, channels)
    else:
        set_frame_range(1)
    export_fbx(filename, [arm, obj], animated=clip is not None)


def make_other_creator(source, target):
    """The same file as another program would have written it: every
    "Blender" in the header and scene info becomes "Modeler" (same length, so
    no offset in the file moves). Importers that treat Blender files in their
    own way see a file from elsewhere."""
    with open(os.path.join(OUT, source), "rb") as f:
        data = f.read()
    assert data.count(b"Blender") >= 2
    with open(os.path.join(OUT, target), "wb") as f:
        f.write(data.replace(b"Blender", b"Modeler"))


def make_broken_files():
    with open(os.path.join(OUT, "humanoid_anim.fbx"), "rb") as f:
        head = f.read(2048)
    # A fixed byte pattern: the node record straddling the cut now claims
    # offsets and lengths far beyond the end of the file.
    tail = bytes((0xFF - (i * 37) % 7) for i in range(2048))
    with open(os.path.join(OUT, "corrupt.fbx"), "wb") as f:
        f.write(head + tail)
    with open(os.path.join(OUT, "not_a_model.fbx"), "w", newline="\n") as f:
        f.write("this is not a model\n")


def main():
    os.makedirs(OUT, exist_ok=True)
    make_upload("Humanoid", humanoid, "humanoid", glb=True)
    make_upload("Quadruped", quadruped, "quadruped", glb=True)
    make_upload("Bird", bird, "bird", glb=False)
    make_upload("Frog", frog, "frog", glb=False)

    make_rigged("Humanoid", humanoid, "humanoid_anim.fbx", ("Walk", 91, 3, walk))
    make_rigged("Quadruped", quadruped, "quadruped_anim.fbx", ("Trot", 61, 2, trot))
    make_rigged("Bird", bird, "bird_anim.fbx", ("Flap", 46, 3, flap))
    make_rigged("Frog", frog, "frog_anim.fbx", ("Hop", 31, 2, hop))
    make_rigged("Humanoid", humanoid, "humanoid_noanim.fbx", None)
    make_rigged("Pole", pole, "pole_anim.fbx", ("Sway", 31, 2, sway))
    make_rigged("Twins", twins, "twin_roots_anim.fbx", ("Nod", 31, 2, nod))
    make_other_creator("humanoid_anim.fbx", "humanoid_anim_other_creator.fbx")

    make_broken_files()
    print("make_models: wrote", sorted(os.listdir(OUT)))


main()
