// The picture on the page's stage: the game's 640 x 480 RGB565 picture uploaded as it is into a
// texture and scaled with WebGL in the player's look, or, where WebGL is missing, drawn by the
// processor or its context lost, widened to RGBA and drawn on a 2D canvas, with nothing said to
// the player. The picture's box on the stage comes from the game's own rule
// (zanbury_picture_box, the platform's layout); the page only turns its device pixels into CSS
// pixels. `?present=2d` and `?present=webgl` choose, so that tests can compare the two. Linked
// in with --pre-js before web/page.js, whose show() hands each picture on.
Module.zanburyPresent = (function () {
  var Width = 640;
  var Height = 480;
  var stage = document.getElementById('stage');
  var screen = document.getElementById('screen');

  var present = {
    kind: null, // 'webgl' or '2d', from the page's start
    look: 0,    // the game's look, as the present names it: sharp 0, whole 1, stretch 2
  };
  var box = null;    // the picture's [x, y, width, height] on the stage, in device pixels
  var last = null;   // the last picture, a view of the game's memory
  var gl = null;     // with the program's `prescale` and the picture's texture
  var prescale = null;
  var flat = null;   // the 2D canvas's: the picture's own canvas, its image, the widening table
  var screenTaken = false; // the screen's canvas has given a WebGL context

  var VertexSource = [
    'attribute vec2 corner;',
    'varying vec2 at;', // across the picture from its top-left corner, 0 to 1
    'void main() {',
    '  at = vec2(corner.x + 1.0, 1.0 - corner.y) * 0.5;',
    '  gl_Position = vec4(corner, 0.0, 1.0);',
    '}'].join('\n');
  // Sharp bilinear in one pass: as if the picture were enlarged by the whole `prescale`, nearest
  // neighbour, then scaled linearly down to the box. Inside a picture pixel the enlargement's
  // copies of it sample its centre; only the last enlarged pixel at its edge blends it with its
  // neighbour. At a whole scale every output pixel is a copy of one picture pixel. The 5 and 6
  // bits of each channel are then widened as the game's own tables widen them (the top bits
  // repeated), so that both paths show the desktop's colours.
  var FragmentSource = [
    '#ifdef GL_FRAGMENT_PRECISION_HIGH',
    'precision highp float;',
    '#else',
    'precision mediump float;',
    '#endif',
    'uniform sampler2D picture;',
    'uniform vec2 prescale;',
    'varying vec2 at;',
    'const vec2 size = vec2(640.0, 480.0);',
    'void main() {',
    '  vec2 texel = at * size;',
    '  vec2 base = floor(texel);',
    '  vec2 off = texel - base - 0.5;',
    '  vec2 edge = 0.5 - 0.5 / prescale;',
    '  vec2 f = (off - clamp(off, -edge, edge)) * prescale + 0.5;',
    '  vec3 c = texture2D(picture, (base + f) / size).rgb * vec3(31.0, 63.0, 31.0);',
    '  vec3 wide = c * vec3(8.0, 4.0, 8.0) + floor(floor(c + 0.5) / vec3(4.0, 16.0, 4.0));',
    '  gl_FragColor = vec4(wide / 255.0, 1.0);',
    '}'].join('\n');

  function openWebGL() {
    var options = { alpha: false, antialias: false, depth: false, stencil: false,
                    premultipliedAlpha: false, preserveDrawingBuffer: false, desynchronized: true };
    var context = null;
    try {
      context = screen.getContext('webgl2', options) || screen.getContext('webgl', options);
    } catch (e) {
      context = null;
    }
    if (!context) {
      return false;
    }
    screenTaken = true;
    var program = context.createProgram();
    [[context.VERTEX_SHADER, VertexSource], [context.FRAGMENT_SHADER, FragmentSource]]
      .forEach(function (part) {
        var shader = context.createShader(part[0]);
        context.shaderSource(shader, part[1]);
        context.compileShader(shader);
        context.attachShader(program, shader);
      });
    context.bindAttribLocation(program, 0, 'corner');
    context.linkProgram(program);
    if (!context.getProgramParameter(program, context.LINK_STATUS)) {
      return false;
    }
    context.useProgram(program);
    context.bindBuffer(context.ARRAY_BUFFER, context.createBuffer());
    context.bufferData(context.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]),
                       context.STATIC_DRAW);
    context.enableVertexAttribArray(0);
    context.vertexAttribPointer(0, 2, context.FLOAT, false, 0, 0);
    context.bindTexture(context.TEXTURE_2D, context.createTexture());
    [[context.TEXTURE_MIN_FILTER, context.LINEAR], [context.TEXTURE_MAG_FILTER, context.LINEAR],
     [context.TEXTURE_WRAP_S, context.CLAMP_TO_EDGE],
     [context.TEXTURE_WRAP_T, context.CLAMP_TO_EDGE]].forEach(function (parameter) {
      context.texParameteri(context.TEXTURE_2D, parameter[0], parameter[1]);
    });
    context.pixelStorei(context.UNPACK_ALIGNMENT, 2);
    context.texImage2D(context.TEXTURE_2D, 0, context.RGB, Width, Height, 0, context.RGB,
                       context.UNSIGNED_SHORT_5_6_5, null);
    context.uniform1i(context.getUniformLocation(program, 'picture'), 0);
    prescale = context.getUniformLocation(program, 'prescale');
    gl = context;
    // A lost context (the GPU reset, the driver updated, too many contexts) is not asked back:
    // the 2D canvas takes over at once with the last picture.
    screen.addEventListener('webglcontextlost', function () {
      if (present.kind !== 'webgl') {
        return; // given up for the 2D canvas already
      }
      open2D();
      present.layout();
      draw(true);
    });
    present.kind = 'webgl';
    return true;
  }

  function open2D() {
    gl = null;
    if (screenTaken) {
      // A canvas that has had a WebGL context can never give a 2D one: a new one takes its place.
      var fresh = document.createElement('canvas');
      fresh.id = screen.id;
      fresh.style.cssText = screen.style.cssText;
      screen.replaceWith(fresh);
      screen = fresh;
    }
    var picture = document.createElement('canvas');
    picture.width = Width;
    picture.height = Height;
    var context = picture.getContext('2d');
    var image = context.createImageData(Width, Height);
    // Each RGB565 pixel as the four bytes red, green, blue, alpha in the memory's order.
    var table = new Uint32Array(65536);
    for (var p = 0; p < 65536; ++p) {
      var r = p >> 11, g = (p >> 5) & 63, b = p & 31;
      table[p] = (0xff000000 | (b << 3 | b >> 2) << 16 | (g << 2 | g >> 4) << 8 |
                  (r << 3 | r >> 2)) >>> 0;
    }
    flat = { picture: picture, context: context, image: image,
             words: new Uint32Array(image.data.buffer), table: table,
             screen: screen.getContext('2d', { alpha: false, desynchronized: true }) };
    present.kind = '2d';
  }

  // The whole factor of the enlargement before the linear step, on each axis: the smallest that
  // reaches the box, so that the linear step only ever shrinks.
  function factors() {
    return [Math.max(1, Math.ceil(box[2] / Width - 1e-6)),
            Math.max(1, Math.ceil(box[3] / Height - 1e-6))];
  }

  function draw(upload) {
    if (box === null || last === null || last.length === 0) {
      return; // nothing laid out yet, or the game's memory has grown under the view
    }
    var k = factors();
    if (gl !== null) {
      if (upload) {
        gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, Width, Height, gl.RGB, gl.UNSIGNED_SHORT_5_6_5,
                         last);
      }
      gl.uniform2f(prescale, k[0], k[1]);
      gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
      return;
    }
    if (upload) {
      for (var i = 0; i < Width * Height; ++i) {
        flat.words[i] = flat.table[last[i]];
      }
      flat.context.putImageData(flat.image, 0, 0);
    }
    // The enlargement on the canvas, each pixel a sharp square; the browser scales it down to
    // the box with linear filtering.
    flat.screen.imageSmoothingEnabled = false;
    flat.screen.drawImage(flat.picture, 0, 0, screen.width, screen.height);
  }

  // The box on the stage for the look, by the game's rule, and the canvas's size for it.
  present.layout = function () {
    var ratio = window.devicePixelRatio || 1;
    var width = Math.round(stage.clientWidth * ratio);
    var height = Math.round(stage.clientHeight * ratio);
    if (last === null || !(width > 0 && height > 0)) {
      return; // before the first picture the game cannot be asked
    }
    var at = Module._zanbury_picture_box(present.look, width, height) >> 2;
    box = [HEAP32[at], HEAP32[at + 1], HEAP32[at + 2], HEAP32[at + 3]];
    var k = factors();
    var size = gl !== null ? [box[2], box[3]] : [Width * k[0], Height * k[1]];
    if (screen.width !== size[0] || screen.height !== size[1]) {
      screen.width = size[0]; // which clears the canvas: drawn again below
      screen.height = size[1];
      if (gl !== null) {
        gl.viewport(0, 0, size[0], size[1]);
      }
    }
    screen.style.position = 'absolute';
    screen.style.left = box[0] / ratio + 'px';
    screen.style.top = box[1] / ratio + 'px';
    screen.style.width = box[2] / ratio + 'px';
    screen.style.height = box[3] / ratio + 'px';
    draw(false);
  };

  // A WebGL that draws on the processor (SwiftShader, llvmpipe) costs it twice what the 2D
  // canvas does: the 2D canvas takes over unless the address asks for WebGL. Asked once the game
  // runs, since the rule is the game's own (the desktop's present goes by it too).
  function keepWebGL() {
    if (gl === null || asked === 'webgl') {
      return;
    }
    var info = gl.getExtension('WEBGL_debug_renderer_info');
    var renderer = info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : '';
    if (Module.ccall('zanbury_software_rasteriser', 'number', ['string'], [String(renderer)])) {
      var lose = gl.getExtension('WEBGL_lose_context');
      open2D();
      if (lose) {
        lose.loseContext(); // its memory goes back at once, not when the page is collected
      }
    }
  }

  // One picture of the game, 640 x 480 RGB565 pixels, in the game's look.
  present.show = function (pixels, look) {
    last = pixels;
    if (box === null) {
      keepWebGL();
      present.look = look;
      present.layout();
    } else if (look !== present.look) {
      present.look = look; // F10, or the player's settings as the game starts
      present.layout();
    }
    draw(true);
  };

  // The context and its program are made while the game's code and data are still arriving:
  // compiling the shaders takes some tens of milliseconds that the first picture need not wait.
  var asked = new URLSearchParams(location.search).get('present'); // '2d', 'webgl' or none
  if (asked === '2d' || !openWebGL()) {
    open2D();
  }
  new ResizeObserver(present.layout).observe(stage);
  window.addEventListener('resize', present.layout);
  document.addEventListener('fullscreenchange', present.layout);
  return present;
})();
