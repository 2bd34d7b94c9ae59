#include "cli/CliHelp.h"

std::string_view CliHelpText() {
    return R"(Usage: iconwright-cli [STEP]...

Makes a unit's build-menu icon file (GAF) from 96 x 96, 256-colour pictures, or from pictures of
any size and colour (PNG, JPEG, BMP, PCX) imported onto the game palette. The steps run
left to right on one picture set that starts, like a fresh Iconwright window, as three white
pictures and an empty unit name. Every step is checked before the first one runs. It also
writes a unit's other game picture, and shows and extracts what any GAF file holds.

SLOT is normal, highlighted, disabled, or 0, 1, 2.

Steps:
  --unit NAME            set the unit name (written upper-cased into the GAF file)
  --load-bmp SLOT FILE   load a 96 x 96, 256-colour BMP file into SLOT
  --load-pcx SLOT FILE   load a 96 x 96, 256-colour PCX file into SLOT
  --save-bmp SLOT FILE   save SLOT as an 8-bit BMP file in the game palette
  --preview SLOT FILE    save SLOT reduced to 64 x 64, as the GAF file holds it, as a BMP file
  --write-gaf FILE       write the three pictures as the build-menu GAF file (needs --unit)
  --border SLOT          add a Cavedog style border
  --cross SLOT SIZE      add a black cross; SIZE in pixels (a fraction rounds, halves to even)
  --lighter SLOT         make SLOT lighter (for the highlighted picture)
  --grey SLOT            make SLOT grey (for the disabled picture)
  --grid SLOT            lay a grid over SLOT (for the disabled picture)
  --fill SLOT COLOR      fill SLOT with game palette index COLOR (outside 0 to 255: no change)
  --auto FILE            load FILE into highlighted and disabled (as PCX when its name ends in
                         .pcx, else as BMP), then make highlighted lighter and disabled grey
  --save-pcx SLOT FILE   save SLOT as a 256-colour PCX file in the game palette
  --save-png SLOT FILE   save SLOT as an 8-bit indexed PNG file in the game palette
  --preview-png SLOT FILE
                         save SLOT reduced to 64 x 64, as the GAF file holds it, as a PNG file
  --export-unit DIR      write the unit's two game files, DIR/anims/<name>_GADGET.GAF (as
                         --write-gaf writes it) and DIR/unitpics/<NAME>.PCX (the normal picture,
                         96 x 96), creating the folders as needed; prints the two paths
  --gaf-list FILE        print what a GAF file holds (entries, their frames' sizes, offsets,
                         transparency index, compression, layers) as JSON
  --gaf-extract FILE DIR write every frame of a GAF file, layers drawn, as an 8-bit PNG file
                         DIR/<entry>/<n>.png (n from 0); prints each path written
  --help                 show this text and run nothing
  --version              show the program's version and run nothing

Import (each setting changes every later --import and --auto-import):
  --fit MODE             contain (default: whole picture, aspect kept, centred), cover (fills
                         96 x 96, centre cropped), stretch, or none (not scaled, cropped)
  --background COLOR|FILE  what shows through transparency and around the picture: #RRGGBB
                         (default #000000) or a picture file (fitted with cover)
  --trim on|off          crop fully transparent edge rows and columns first (default off)
  --match RULE           rgb (default: the game's own nearest colour) or perceptual (OKLab)
  --dither METHOD        none (default) or floyd-steinberg
  --avoid LIST           palette indices never chosen, e.g. 0,240-255; none clears (default)
  --strict on|off        fail unless every pixel is exactly a game colour (default off)
  --import SLOT FILE     import FILE into SLOT; prints the conversion report as one line
  --auto-import FILE     import FILE into highlighted and disabled, then make highlighted
                         lighter and disabled grey

Exit status:
  0  every step was done
  1  a step failed: it is named on standard error, later steps do not run, files written by
     earlier steps stay
  2  usage error (unknown step, missing argument, bad SLOT, COLOR or setting): nothing runs

Examples:
  iconwright-cli --unit armcamp --load-bmp normal armcamp.bmp --write-gaf armcamp_GADGET.GAF
  iconwright-cli --unit armcamp --background '#202830' --dither floyd-steinberg \
      --import normal render.png --border normal --auto-import render.png --write-gaf armcamp_GADGET.GAF
  iconwright-cli --unit armcamp --load-bmp normal armcamp.bmp --auto armcamp.bmp --export-unit mymod
  iconwright-cli --gaf-list mymod/anims/armcamp_GADGET.GAF
  iconwright-cli --gaf-extract somemod/anims/FX.GAF fx-frames
)";
}
